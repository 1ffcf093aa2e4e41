#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "core/common/Clock.h"
#include "core/files/FolderFixture.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/analysis/RandomnessReportPanel.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/ReportWindow.h"
#include "support/StartedMainWindow.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// The main window with its report window, started, and a folder of files to report on.
struct Program : test::StartedMainWindow {
    test::FolderFixture folder;
    // The graphic windows shown modally, with what they read when shown.
    QStringList graphicsShown;

    Program() : StartedMainWindow(false)
    {
        dialogs.answer = [this](QDialog& dialog) { ShowGraphic(dialog); };
        Start();
    }

    void ShowGraphic(QDialog& dialog)
    {
        auto* graphic = qobject_cast<RandomnessGraphicWindow*>(&dialog);
        QVERIFY(graphic != nullptr);
        graphic->show();
        graphicsShown << graphic->windowTitle() + u'|' + LabelText(*graphic, "lblFilesize") + u'|' +
                             LabelText(*graphic, "lblRandomness").left(14);
        // Display, to the end, and Close.
        graphic->DisplayPressed();
        QTRY_COMPARE_WITH_TIMEOUT(graphic->DrawingState(), RandomnessGraphicWindow::State::Finished, 30000);
        graphic->DisplayPressed();
    }

    void SetSide(int side, const QString& spec, bool subfolders = false)
    {
        context.setup.folders[side] = kyv::platform::FilePath(folder.Path());
        context.setup.fileSpecs[side] = spec;
        context.setup.includeSubfolders = subfolders;
    }

    void Command() { QTest::mouseRelease(window->Button(MainCommand::RandomnessReport), Qt::LeftButton); }
    void ChooseSide(int side)
    {
        QTest::mouseRelease(window->RandomnessPanel().SideButton(side), Qt::LeftButton);
    }
    bool MenuEnabled() const { return window->findChild<QWidget*>(QStringLiteral("fraMenu"))->isEnabled(); }
    const std::vector<Message>& Messages() const { return prompter.messages; }

    static QString LabelText(const QWidget& widget, const char* name)
    {
        auto* label = widget.findChild<QLabel*>(QString::fromLatin1(name));
        return label != nullptr ? label->text() : QString();
    }
};

}  // namespace

class RandomnessReportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void onlyTheOutputSideDisablesInputFilesAndNotNowCloses()
    {
        Program program;
        program.SetSide(kOutputSide, QStringLiteral("*.enc"));
        program.Command();
        RandomnessReportPanel& panel = program.window->RandomnessPanel();
        QVERIFY(panel.isVisible());
        QVERIFY(!program.MenuEnabled());
        QVERIFY(!panel.SideButton(kInputSide)->isEnabled());
        QVERIFY(panel.SideButton(kOutputSide)->isEnabled());
        // Beside the command column, below the top of the "Randomness report" row.
        QVERIFY(panel.x() > program.window->Button(MainCommand::RandomnessReport)->width());

        panel.NotNowButton()->click();
        QVERIFY(!panel.isVisible());
        QVERIFY(program.MenuEnabled());
        QCOMPARE(program.window->focusWidget(), program.window->Button(MainCommand::RandomnessReport));
        QVERIFY(program.Messages().empty());
    }

    // Refusals tell why and leave the window as it was, with no graphic and no listing.
    void aRefusalTellsAndClosesThePanel_data()
    {
        QTest::addColumn<QString>("spec");  // empty: neither side specified
        QTest::addColumn<int>("size");      // of report.doc; -1: no such file
        QTest::addColumn<QString>("text");  // %1: the folder
        QTest::newRow("no side") << QString() << -1 << "Neither input files nor output files are specified.";
        QTest::newRow("no match") << "*.doc" << -1 << "There are no files in %1 matching *.doc.";
        QTest::newRow("too small") << "report.doc" << 255
                                   << "report.doc is too small (255 bytes) to have a randomness value.";
    }

    void aRefusalTellsAndClosesThePanel()
    {
        QFETCH(QString, spec);
        QFETCH(int, size);
        QFETCH(QString, text);
        Program program;
        if (size >= 0) program.folder.MakeFile(QStringLiteral("report.doc"), size);
        if (!spec.isEmpty()) program.SetSide(kInputSide, spec);
        program.Command();
        if (!spec.isEmpty()) program.ChooseSide(kInputSide);
        QTRY_COMPARE_WITH_TIMEOUT(program.Messages().size(), std::size_t(1), 30000);
        QCOMPARE(program.Messages()[0].text, text.replace(QStringLiteral("%1"), program.folder.Path()));
        QVERIFY(!program.window->RandomnessPanel().isVisible());
        QVERIFY(program.MenuEnabled());
        QVERIFY(program.graphicsShown.isEmpty());
        QVERIFY(!program.window->Report().isVisible());
    }

    void aLargeFileIsMeasuredWhileTheWindowGoesOn()
    {
        Program program;
        program.folder.MakeFile(QStringLiteral("large.bin"), 8 << 20);
        program.SetSide(kInputSide, QStringLiteral("large.bin"));
        program.Command();
        program.ChooseSide(kInputSide);
        // The command has returned before the measure: the window shows that it is checking.
        auto* checking = program.window->findChild<QLabel*>(QStringLiteral("lblCheckingFile"));
        QVERIFY(program.graphicsShown.isEmpty());
        QVERIFY(checking->isVisible());
        QCOMPARE(checking->text(), QStringLiteral("Checking file ..."));
        QVERIFY(!program.MenuEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(program.graphicsShown.size(), 1, 30000);
        QCOMPARE(program.graphicsShown[0],
                 QStringLiteral("Input file: large.bin|Filesize = 8,388,608 bytes|Randomness = 0"));
        QVERIFY(!checking->isVisible());
        QVERIFY(program.MenuEnabled());
        QVERIFY(!program.window->Report().isVisible());
        QVERIFY(program.Messages().empty());
    }

    void aRightClickOnAPanelButtonOpensHelp()
    {
        Program program;
        QList<HelpTopic> topics;
        program.help.record = [&topics](HelpTopic topic) { topics << topic; };
        program.SetSide(kInputSide, QStringLiteral("*.doc"));
        program.Command();
        QTest::mouseRelease(program.window->RandomnessPanel().SideButton(kInputSide), Qt::RightButton);
        QPushButton* notNow = program.window->RandomnessPanel().NotNowButton();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), notNow->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(notNow, &rightClick);
        QCOMPARE(topics, (QList<HelpTopic>{HelpTopic::SpecifyingOutputFiles, HelpTopic::RandomnessReport}));
        QVERIFY(program.window->RandomnessPanel().isVisible());
        QVERIFY(program.Messages().empty());
    }

    // With subfolders even a single name gives a listing, and so does a pattern nothing matches.
    void withSubfoldersTheSideIsListed_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<int>("listed");
        QTest::newRow("single name") << "report.doc" << 2;
        QTest::newRow("nothing matches") << "*.pdf" << 0;
    }

    void withSubfoldersTheSideIsListed()
    {
        QFETCH(QString, spec);
        QFETCH(int, listed);
        Program program;
        program.folder.MakeFile(QStringLiteral("report.doc"), 1000, 'k');
        program.folder.MakeFolder(QStringLiteral("lower"));
        program.folder.MakeFile(QStringLiteral("lower/report.doc"), 2000, 'm');
        program.SetSide(kInputSide, spec, true);
        program.Command();
        program.ChooseSide(kInputSide);
        QVERIFY(program.graphicsShown.isEmpty());
        QVERIFY(program.Messages().empty());
        QVERIFY(program.window->Report().isVisible());
        QCOMPARE(program.window->Report().windowTitle(), "Randomness report for input files " + spec);
        QCOMPARE(program.window->Report().ReportText().count(QStringLiteral("report.doc")), listed);
        QCOMPARE(program.context.run.result.filesProcessed, listed);
        QVERIFY(program.MenuEnabled());
    }

    // After a short listing the window is as tall as its lines: the folder, every file and the
    // totals stay in view, with nothing scrolled out.
    void aShortListingFitsItsWindow_data()
    {
        QTest::addColumn<int>("files");
        QTest::newRow("one file") << 1;
        QTest::newRow("three files") << 3;
        QTest::newRow("seven files") << 7;
    }

    void aShortListingFitsItsWindow()
    {
        QFETCH(int, files);
        Program program;
        for (int i = 0; i < files; ++i)
            program.folder.MakeFile(QStringLiteral("file%1.txt").arg(i), 1000 + i, 'k');
        program.SetSide(kInputSide, QStringLiteral("*.*"));
        program.Command();
        program.ChooseSide(kInputSide);
        QVERIFY(program.window->Report().isVisible());
        QTRY_COMPARE(program.context.run.result.filesProcessed, files);
        auto* text = program.window->Report().findChild<QPlainTextEdit*>(QStringLiteral("txbText"));
        QVERIFY(text != nullptr);
        QTRY_VERIFY(text->document()->blockCount() > files + 2);
        QCoreApplication::processEvents();
        QCOMPARE(text->verticalScrollBar()->maximum(), 0);
        // And no taller than the report window of a long report.
        QVERIFY(text->height() < program.window->Report().height());
    }
};

QTEST_MAIN(RandomnessReportCommandTest)
#include "test_MainWindowRandomness.moc"
