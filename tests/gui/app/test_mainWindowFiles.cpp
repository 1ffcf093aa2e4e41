#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/analysis/BackgroundRandomnessMeasurer.h"
#include "core/app/FilesStatusLine.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OptionTextBox.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/operation/ReportWindow.h"
#include "support/StartedMainWindow.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

using Installation = test::StartedMainWindow;

}  // namespace

class MainWindowFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void singleFileSetsTheOutputFolderAndClearsTheOutputSpecification()
    {
        Installation in;
        const QString path = in.File("report.doc", 2048);
        in.Setup().fileSpecs[kOutputSide] = QStringLiteral("old.enc");
        in.fileDialogs.Choose(path);
        in.Click(MainCommand::SingleFile);
        QCOMPARE(in.fileDialogs.requests.size(), std::size_t(1));
        QCOMPARE(in.fileDialogs.requests[0].request.title, QStringLiteral("Specify file to be encrypted"));
        QCOMPARE(in.fileDialogs.requests[0].request.filter, QStringLiteral("All files (*.*) | *.*"));
        QVERIFY(in.context.values.ignoreClicks);
        QCOMPARE(in.Setup().folders[kInputSide].Text(), in.Folder());
        QCOMPARE(in.Setup().folders[kOutputSide].Text(), in.Folder());
        QCOMPARE(in.Setup().fileSpecs[kOutputSide], QString());
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("report.doc"));
        QCOMPARE(in.Label("lblFiles_1"), QStringLiteral("Not specified"));
        QCOMPARE(in.Label("lblSingleFile"), QString());
        QCOMPARE(in.Label("lblSubdirectories"), QStringLiteral("No"));
        QVERIFY(in.Label("lblFiles2_0").startsWith(QStringLiteral("2.00 KB")));
        // The description follows the file specification by its length in character widths.
        QCOMPARE(in.LabelWidget("lblFiles2_0")->x(),
                 in.LabelWidget("lblFiles_0")->x() + Twips(10 * kStatusCharWidthTwips + 300));

        // A click within the second after the dialog closed is ignored.
        QTest::mouseRelease(in.window->Button(MainCommand::SingleFile), Qt::LeftButton);
        QCOMPARE(in.fileDialogs.requests.size(), std::size_t(1));

        in.fileDialogs.Cancel();
        in.Click(MainCommand::SingleFile);
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QStringLiteral("report.doc"));
    }

    void aLargeFileIsDescribedWhenItsMeasureArrives()
    {
        Installation in;
        const QString path = in.File("large.bin", 4096);
        // Every file counts as large here; the measure says "encrypted".
        in.window->Model().SetRandomnessMeasurer(std::make_unique<BackgroundRandomnessMeasurer>(
            [](const std::filesystem::path&, std::int64_t) { return 0.97; }, 0));
        in.fileDialogs.Choose(path);
        in.Click(MainCommand::SingleFile);
        QCOMPARE(in.Label("lblFiles2_0"), QStringLiteral("4.00 KB"));
        QTRY_COMPARE(in.Label("lblFiles2_0"),
                     QStringLiteral("4.00 KB  (Seems to be either encrypted or compressed.)"));
    }

    void foldersFromTheFolderBrowser()
    {
        Installation in;
        QDir(in.data.path()).mkdir(QStringLiteral("lower"));
        in.Setup().fileSpecs[kInputSide] = QStringLiteral("*.xyz");
        in.fileDialogs.Choose(in.data.path());
        in.Click(MainCommand::InputFolder);
        QCOMPARE(in.fileDialogs.requests[0].kind, test::FakeFileDialogs::Kind::Folder);
        QCOMPARE(in.fileDialogs.requests[0].request.title, QStringLiteral("Specify input folder"));
        QCOMPARE(in.Label("lblDirectory_0"), in.Folder());
        QCOMPARE(in.Label("lblDirectory_1"), in.Folder());
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("*.xyz"));
        QCOMPARE(in.Label("lblSubdirectories2"),
                 QStringLiteral("(Do not operate on files in lower subfolders.)"));

        in.Click(MainCommand::OutputFilesSame);
        QCOMPARE(in.Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        in.Click(MainCommand::OutputFolder);
        QCOMPARE(in.fileDialogs.requests.size(), std::size_t(1));
        QCOMPARE(in.prompter.messages.size(), std::size_t(1));
        QCOMPARE(in.prompter.messages[0].text,
                 QStringLiteral("Currently output files are specified as the same as the input files."));
        QCOMPARE(in.prompter.messages[0].title, QStringLiteral("Specify output folder"));

        in.Click(MainCommand::OutputFilesSame);
        in.fileDialogs.Cancel();
        in.Click(MainCommand::OutputFolder);
        QCOMPARE(in.Setup().folders[kOutputSide].Text(), in.Folder());
    }

    void inputFilesByExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("*.DOC") << "*.DOC";
        QTest::newRow(".DOC") << ".DOC";
        QTest::newRow("spaced DOC") << "  DOC ";
    }
    void inputFilesByExtension()
    {
        QFETCH(QString, typed);
        Installation in;
        in.File("a.doc", 10);
        in.Setup().folders = {kyv::platform::FilePath(in.Folder()),
                              kyv::platform::FilePath(QStringLiteral("/elsewhere/"))};
        QPoint placed;
        in.dialogs.answer = [&](QDialog& dialog) {
            auto& input = static_cast<InputFilesDialog&>(dialog);
            input.show();
            placed = input.pos();
            QVERIFY(input.singleFileOption->isEnabled());
            QTest::mouseClick(input.extensionOption, Qt::LeftButton, {}, QPoint(3, 3));
            input.extensionBox->setText(typed);
            QTest::mouseClick(input.acceptButton, Qt::LeftButton);
        };
        in.Click(MainCommand::InputFiles);
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QStringLiteral("*.DOC"));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("*.DOC"));
        QCOMPARE(in.Label("lblFiles2_0"), QStringLiteral("(All files with extension \"DOC\".)"));
        QCOMPARE(in.LabelWidget("lblFiles2_0")->x(),
                 in.LabelWidget("lblFiles_0")->x() + Twips(5 * kStatusCharWidthTwips + 300));
        QCOMPARE(in.Label("lblOutputFilesSame"), QStringLiteral("No"));
        // Placed below and right of the command column.
        const QWidget* column = in.window->Button(MainCommand::Function)->parentWidget();
        QCOMPARE(placed, QPoint(in.window->x() + column->width() + Twips(250),
                                in.window->y() + column->y() + Twips(1030)));
        QVERIFY(in.prompter.messages.empty());
    }

    void aRefusedExtensionKeepsTheDialogOpen()
    {
        Installation in;
        in.File("a.doc", 10);
        in.Setup().folders = {kyv::platform::FilePath(in.Folder()), kyv::platform::FilePath(in.Folder())};
        in.Setup().fileSpecs[kInputSide] = QStringLiteral("a.doc");
        in.dialogs.answer = [&](QDialog& dialog) {
            auto& input = static_cast<InputFilesDialog&>(dialog);
            input.show();
            QTest::keyClicks(input.extensionBox, QStringLiteral("tar.gz"));
            QTest::keyClick(input.extensionBox, Qt::Key_Return);
            QVERIFY(input.isVisible());
            QCOMPARE(in.prompter.messages.size(), std::size_t(1));
            QCOMPARE(in.prompter.messages[0].text, QStringLiteral("Extension must not contain \".\"."));
            QTest::mouseClick(input.cancelButton, Qt::LeftButton);
        };
        in.Click(MainCommand::InputFiles);
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QStringLiteral("a.doc"));
        QCOMPARE(in.prompter.messages.size(), std::size_t(1));
    }

    void allFilesInOneFolderMakeBothSidesEqual()
    {
        Installation in;
        in.File("a.doc", 10);
        in.Setup().folders = {kyv::platform::FilePath(in.Folder()), kyv::platform::FilePath(in.Folder())};
        in.dialogs.answer = [](QDialog& dialog) {
            auto& input = static_cast<InputFilesDialog&>(dialog);
            input.show();
            QTest::mouseClick(input.allFilesOption, Qt::LeftButton, {}, QPoint(3, 3));
            QTest::mouseClick(input.acceptButton, Qt::LeftButton);
        };
        in.Click(MainCommand::InputFiles);
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QStringLiteral("*.*"));
        QCOMPARE(in.Setup().fileSpecs[kOutputSide], QStringLiteral("*.*"));
        QVERIFY(in.Setup().inPlace);
        QCOMPARE(in.Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(in.Label("lblFiles2_0"), QStringLiteral("(All files.)"));
        QCOMPARE(in.LabelWidget("lblFiles2_0")->x(),
                 in.LabelWidget("lblFiles_0")->x() + Twips(5 * kStatusCharWidthTwips));
    }

    void aFolderWithOnlySubfoldersOffersNoSingleFile()
    {
        Installation in;
        QDir(in.data.path()).mkdir(QStringLiteral("lower"));
        in.Setup().folders[kInputSide] = kyv::platform::FilePath(in.Folder());
        bool shown = false;
        in.dialogs.answer = [&shown](QDialog& dialog) {
            auto& input = static_cast<InputFilesDialog&>(dialog);
            input.show();
            shown = true;
            QVERIFY(!input.singleFileOption->isEnabled());
            QVERIFY(!input.file->isEnabled());
            QVERIFY(input.allFilesOption->isChecked());
            QTest::mouseClick(input.cancelButton, Qt::LeftButton);
        };
        in.Click(MainCommand::InputFiles);
        QVERIFY(shown);
        QCOMPARE(in.context.values.fileListCount, 0);
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QString());
    }

    void outputExtensionAfterASingleInputFile()
    {
        Installation in;
        in.File("report.txt", 300);
        in.Setup().folders = {kyv::platform::FilePath(in.Folder()), kyv::platform::FilePath(in.Folder())};
        in.Setup().fileSpecs[kInputSide] = QStringLiteral("report.txt");
        QRect placed;
        in.dialogs.answer = [&placed](QDialog& dialog) {
            auto& output = static_cast<OutputFilesDialog&>(dialog);
            output.show();
            placed = output.frameGeometry();
            QVERIFY(output.singleFileOption->isChecked());
            QTest::keyClicks(output.extensionBox, QStringLiteral("enc"));
            QVERIFY(output.extensionOption->isChecked());
            QTest::mouseClick(output.acceptButton, Qt::LeftButton);
        };
        in.Click(MainCommand::OutputFiles);
        QCOMPARE(in.Setup().fileSpecs[kOutputSide], QStringLiteral("report.enc"));
        QCOMPARE(in.Label("lblFiles_1"), QStringLiteral("report.enc"));
        QCOMPARE(in.Label("lblFiles2_1"), QString());
        const QWidget* column = in.window->Button(MainCommand::Function)->parentWidget();
        QCOMPARE(placed.right() + 1, in.window->x() + in.window->frameGeometry().width() - Twips(130));
        QCOMPARE(placed.top(), in.window->y() + column->y() + Twips(330));

        // Choosing the input file itself as the output shows that it exists already.
        in.dialogs.answer = [](QDialog& dialog) {
            auto& output = static_cast<OutputFilesDialog&>(dialog);
            output.show();
            // The list fills in once the folder has been read.
            QTRY_VERIFY(!output.file->Filling());
            output.file->setCurrentRow(0);
            QTest::mouseClick(output.acceptButton, Qt::LeftButton);
        };
        in.Click(MainCommand::OutputFiles);
        QCOMPARE(in.Label("lblFiles_1"), QStringLiteral("report.txt"));
        QCOMPARE(in.Label("lblFiles2_1"), QStringLiteral("(File exists already.)"));
    }

    void rightClicksOnlyOpenHelp()
    {
        Installation in;
        QList<HelpTopic> topics;
        in.help.record = [&topics](HelpTopic topic) { topics << topic; };
        in.dialogs.answer = [](QDialog&) { QFAIL("a right click opened a dialog"); };
        for (MainCommand command :
             {MainCommand::SingleFile, MainCommand::InputFolder, MainCommand::InputFiles,
              MainCommand::OutputFolder, MainCommand::OutputFiles})
            QTest::mouseRelease(in.window->Button(command), Qt::RightButton);
        QCOMPARE(topics, (QList<HelpTopic>{HelpTopic::SingleFile, HelpTopic::SpecifyingInputFiles,
                                           HelpTopic::SpecifyingInputFiles, HelpTopic::SpecifyingOutputFiles,
                                           HelpTopic::SpecifyingOutputFiles}));
        QVERIFY(in.fileDialogs.requests.empty());
        QVERIFY(in.prompter.messages.empty());
    }

    void reportScreenDefersToAVisibleReportWindow()
    {
        Installation in;
        QList<HelpTopic> sections;
        in.help.record = [&sections](HelpTopic topic) { sections << topic; };
        in.window->Report().show();
        CommandButton* reportScreen = in.window->Button(MainCommand::ReportScreen);
        in.window->Button(MainCommand::Function)->setFocus();
        // The pointer moving over the button, from one place to another.
        const auto movePointer = [reportScreen] {
            for (const QPointF at : {QPointF(3, 3), QPointF(6, 4)}) {
                QMouseEvent move(QEvent::MouseMove, at, reportScreen->mapToGlobal(at), Qt::NoButton,
                                 Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(reportScreen, &move);
            }
        };
        movePointer();
        QVERIFY(in.window->focusWidget() != reportScreen);
        QTest::keyRelease(reportScreen, Qt::Key_F1);
        QVERIFY(sections.isEmpty());

        in.window->Report().hide();
        movePointer();
        QCOMPARE(in.window->focusWidget(), reportScreen);
        QTest::keyRelease(reportScreen, Qt::Key_F1);
        QCOMPARE(sections.size(), 1);
        in.context.values.ignoreClicks = true;
        QTest::keyRelease(reportScreen, Qt::Key_F1);
        QCOMPARE(sections.size(), 1);
        // Other buttons take F1 whatever the guard says.
        QTest::keyRelease(in.window->Button(MainCommand::Function), Qt::Key_F1);
        QCOMPARE(sections.size(), 2);
    }
};

QTEST_MAIN(MainWindowFilesTest)
#include "test_mainWindowFiles.moc"
