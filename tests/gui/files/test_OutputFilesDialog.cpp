#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"
#include "gui/files/OutputFilesDialog.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

struct OutputDialog {
    QTemporaryDir folder;
    OperationSetup setup;
    WorkingValues values;
    test::FakePrompter prompter;
    OutputFilesDialog dialog{setup, values, prompter};

    explicit OutputDialog(int numFiles = 1)
    {
        QFile file(folder.filePath("old.enc"));
        if (file.open(QIODevice::WriteOnly)) file.write("text");
        values.fileListCount = numFiles;
        dialog.file->SetPath(platform::FilePath(folder.path() + u'/'));
    }
    // Shows the dialog and waits until its list has filled in.
    void Show()
    {
        dialog.show();
        QTest::qWait(0);
        QTRY_VERIFY(!dialog.file->Filling());
    }
};

}  // namespace

class FrmSpecifyOutputFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void theOptionOfferedFirstDependsOnTheFolder_data()
    {
        QTest::addColumn<int>("numFiles");
        QTest::addColumn<QString>("checked");
        QTest::newRow("files present") << 1 << "optSingleFile";
        QTest::newRow("no files") << 0 << "optExtension";
    }
    void theOptionOfferedFirstDependsOnTheFolder()
    {
        QFETCH(int, numFiles);
        QFETCH(QString, checked);
        OutputDialog d(numFiles);
        for (OptionTextBox* box : {d.dialog.newFileBox, d.dialog.extensionBox, d.dialog.specBox})
            box->setText(QStringLiteral("old"));
        d.Show();
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("Specify output files"));
        QCOMPARE(d.dialog.singleFileOption->isEnabled(), numFiles != 0);
        QCOMPARE(d.dialog.file->isEnabled(), numFiles != 0);
        QVERIFY(d.dialog.findChild<QRadioButton*>(checked)->isChecked());
        for (OptionTextBox* box : {d.dialog.newFileBox, d.dialog.extensionBox, d.dialog.specBox})
            QCOMPARE(box->text(), QString());
        QCOMPARE(d.dialog.file->count(), 1);
    }

    void wordsFollowTheFunction_data()
    {
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("encrypt") << true
                                 << QStringList{"Encrypt to an existing file",
                                                "(which will be overwritten):",
                                                "Encrypt to a new file:",
                                                "Encrypt to files with a particular extension",
                                                "Encrypt to files satisfying a file specification",
                                                "e.g., enc:",
                                                "e.g., a*.e*:"};
        QTest::newRow("decrypt") << false
                                 << QStringList{"Decrypt to an existing file",
                                                "(which will be overwritten):",
                                                "Decrypt to a new file:",
                                                "Decrypt to files with a particular extension",
                                                "Decrypt to files satisfying a file specification",
                                                "e.g., txt or doc:",
                                                "e.g., a*.d*:"};
    }
    void wordsFollowTheFunction()
    {
        QFETCH(bool, encrypt);
        QFETCH(QStringList, texts);
        OutputDialog d;
        d.setup.direction = DirectionFor(encrypt);
        d.Show();
        const QStringList shown{d.dialog.singleFileOption->text(), d.dialog.singleFileText->text(),
                                d.dialog.newFileOption->text(),    d.dialog.extensionOption->text(),
                                d.dialog.specOption->text(),       d.dialog.extensionHint->text(),
                                d.dialog.specHint->text()};
        QCOMPARE(shown, texts);
    }

    void theNewFileBoxSelectsItsOption()
    {
        OutputDialog d;
        d.Show();
        QTest::mouseClick(d.dialog.newFileOption, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(d.dialog.newFileOption->isChecked());
        // A click on the new-file option does not move the focus.
        QVERIFY(d.dialog.focusWidget() != d.dialog.newFileBox);
        d.dialog.singleFileOption->setChecked(true);
        QTest::mouseClick(d.dialog.newFileBox, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(d.dialog.newFileOption->isChecked());
        d.dialog.singleFileOption->setChecked(true);
        QTest::keyClick(d.dialog.newFileBox, Qt::Key_A);
        QVERIFY(d.dialog.newFileOption->isChecked());
        QTest::mouseClick(d.dialog.extensionHint, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(d.dialog.extensionOption->isChecked());
    }

    void accept_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("text");
        QTest::newRow("existing file")
            << "optSingleFile"
            << "" << true << false << int(OutputFilesOption::ExistingFile) << "old.enc";
        QTest::newRow("new file") << "optNewFile"
                                  << "  new name.enc " << true << false << int(OutputFilesOption::NewFile)
                                  << "new name.enc";
        QTest::newRow("empty new file") << "optNewFile"
                                        << "   " << false << false << int(OutputFilesOption::NewFile) << "";
        QTest::newRow("extension") << "optExtension"
                                   << " *.enc" << true << false << int(OutputFilesOption::Extension) << "enc";
        QTest::newRow("refused extension")
            << "optExtension"
            << "tar.gz" << false << true << int(OutputFilesOption::Extension) << "tar.gz";
        QTest::newRow("specification")
            << "optMultipleFiles"
            << " x*.* " << true << false << int(OutputFilesOption::MultipleFiles) << "x*.*";
    }
    void accept()
    {
        QFETCH(QString, option);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(bool, stays);
        QFETCH(int, choice);
        QFETCH(QString, text);
        OutputDialog d;
        d.Show();
        if (option == u"optSingleFile") {
            QListWidgetItem* item = d.dialog.file->item(0);
            QTest::mouseClick(d.dialog.file->viewport(), Qt::LeftButton, {},
                              d.dialog.file->visualItemRect(item).center());
        } else {
            d.dialog.findChild<QRadioButton*>(option)->setChecked(true);
            OptionTextBox* box = option == u"optNewFile"     ? d.dialog.newFileBox
                                 : option == u"optExtension" ? d.dialog.extensionBox
                                                             : d.dialog.specBox;
            box->setText(typed);
        }
        QTest::mouseClick(d.dialog.acceptButton, Qt::LeftButton);
        QCOMPARE(d.dialog.choiceAccepted, accepted);
        QCOMPARE(d.dialog.isVisible(), stays);
        QCOMPARE(int(d.dialog.Choice().option), choice);
        QCOMPARE(d.dialog.Choice().text, text);
        QCOMPARE(d.prompter.messages.size(), std::size_t(stays ? 1 : 0));
    }
};

QTEST_MAIN(FrmSpecifyOutputFilesTest)
#include "test_OutputFilesDialog.moc"
