#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "core/files/FolderPath.h"

#include "gui/files/FileListBox.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OptionTextBox.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// A dialog over a folder holding two files.
struct InputDialog {
    QTemporaryDir folder;
    OperationSetup setup;
    WorkingValues values;
    test::FakePrompter prompter;
    InputFilesDialog dialog{setup, values, prompter};

    explicit InputDialog(int numFiles = 2)
    {
        for (const char* name : {"b.txt", "a.doc"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            if (file.open(QIODevice::WriteOnly)) file.write("text");
        }
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
    void ClickItem(int row, bool twice = false)
    {
        QListWidgetItem* item = dialog.file->item(row);
        const QPoint at = dialog.file->visualItemRect(item).center();
        if (twice) {
            // A double click arrives after the press and release of its first click.
            QTest::mouseClick(dialog.file->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(dialog.file->viewport(), Qt::LeftButton, {}, at);
        } else
            QTest::mouseClick(dialog.file->viewport(), Qt::LeftButton, {}, at);
    }
};

// A real movement: two positions over the widget (a pointer resting at one place takes no focus).
void MoveMouseOver(QWidget* widget)
{
    for (const QPointF at : {QPointF(5, 5), QPointF(7, 6)}) {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
}

}  // namespace

class FrmSpecifyInputFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void shownWithFilesOffersTheSingleFile()
    {
        InputDialog d;
        d.dialog.extensionBox->setText(QStringLiteral("old"));
        d.dialog.specBox->setText(QStringLiteral("old*"));
        d.Show();
        QCOMPARE(d.dialog.windowTitle(), QStringLiteral("Specify input files"));
        QVERIFY(d.dialog.singleFileOption->isEnabled());
        QVERIFY(d.dialog.file->isEnabled());
        QVERIFY(d.dialog.singleFileOption->isChecked());
        QCOMPARE(d.dialog.file->count(), 2);
        QCOMPARE(d.dialog.file->item(0)->text(), QStringLiteral("a.doc"));
        QCOMPARE(d.dialog.extensionBox->text(), QString());
        QCOMPARE(d.dialog.specBox->text(), QString());
        QCOMPARE(d.dialog.focusWidget(), d.dialog.cancelButton);
        QVERIFY(!d.dialog.choiceAccepted);
    }

    void shownWithoutFilesOffersAllFiles()
    {
        InputDialog d(0);
        d.Show();
        QVERIFY(!d.dialog.singleFileOption->isEnabled());
        QVERIFY(!d.dialog.file->isEnabled());
        QVERIFY(d.dialog.allFilesOption->isEnabled());
        QVERIFY(d.dialog.allFilesOption->isChecked());
        QCOMPARE(d.dialog.focusWidget(), d.dialog.cancelButton);
    }

    void wordsFollowTheFunction_data()
    {
        QTest::addColumn<bool>("encrypt");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("encrypt") << true
                                 << QStringList{"Encrypt a single file:",
                                                "Encrypt all files (*.*)",
                                                "Encrypt all files with a particular extension",
                                                "Encrypt all files satisfying a file specification",
                                                "e.g., txt or doc:",
                                                "e.g., a*.d*:"};
        QTest::newRow("decrypt") << false
                                 << QStringList{"Decrypt a single file:",
                                                "Decrypt all files (*.*)",
                                                "Decrypt all files with a particular extension",
                                                "Decrypt all files satisfying a file specification",
                                                "e.g., enc:",
                                                "e.g., a*.e*:"};
    }
    void wordsFollowTheFunction()
    {
        QFETCH(bool, encrypt);
        QFETCH(QStringList, texts);
        InputDialog d;
        d.setup.direction = DirectionFor(encrypt);
        d.Show();
        const QStringList shown{d.dialog.singleFileOption->text(), d.dialog.allFilesOption->text(),
                                d.dialog.extensionOption->text(),  d.dialog.specOption->text(),
                                d.dialog.extensionHint->text(),    d.dialog.specHint->text()};
        QCOMPARE(shown, texts);
    }

    void everyPartOfAChoiceSelectsIt_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("focus");
        QTest::newRow("click a name") << "click item"
                                      << "optSingleFile"
                                      << "";
        QTest::newRow("click all files") << "click optAllFiles"
                                         << "optAllFiles"
                                         << "cmdAccept";
        QTest::newRow("click extension option") << "click optExtension"
                                                << "optExtension"
                                                << "txbExtension";
        QTest::newRow("click extension hint") << "click lblExtension"
                                              << "optExtension"
                                              << "";
        QTest::newRow("click extension box") << "click txbExtension"
                                             << "optExtension"
                                             << "txbExtension";
        QTest::newRow("type in extension box") << "type txbExtension"
                                               << "optExtension"
                                               << "";
        QTest::newRow("mouse over extension box") << "move txbExtension"
                                                  << "optSingleFile"
                                                  << "txbExtension";
        QTest::newRow("click specification option") << "click optMultipleFiles"
                                                    << "optMultipleFiles"
                                                    << "txbFilespec";
        QTest::newRow("click specification hint") << "click lblFilespec"
                                                  << "optMultipleFiles"
                                                  << "";
        QTest::newRow("click specification box") << "click txbFilespec"
                                                 << "optMultipleFiles"
                                                 << "txbFilespec";
        QTest::newRow("type in specification box") << "type txbFilespec"
                                                   << "optMultipleFiles"
                                                   << "";
        QTest::newRow("mouse over specification box") << "move txbFilespec"
                                                      << "optSingleFile"
                                                      << "txbFilespec";
    }
    void everyPartOfAChoiceSelectsIt()
    {
        QFETCH(QString, action);
        QFETCH(QString, checked);
        QFETCH(QString, focus);
        InputDialog d;
        d.Show();
        if (action != u"click item") d.dialog.singleFileOption->setChecked(true);
        const QStringList words = action.split(u' ');
        QWidget* target = action == u"click item" ? nullptr : d.dialog.findChild<QWidget*>(words[1]);
        if (words[0] == u"click" && target)
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        else if (words[0] == u"click") {
            d.dialog.allFilesOption->setChecked(true);
            d.ClickItem(1);
        } else if (words[0] == u"type")
            QTest::keyClick(target, Qt::Key_X);
        else
            MoveMouseOver(target);
        auto* option = d.dialog.findChild<QRadioButton*>(checked);
        QVERIFY(option);
        QVERIFY2(option->isChecked(), qPrintable(checked));
        if (!focus.isEmpty()) QCOMPARE(d.dialog.focusWidget()->objectName(), focus);
        QVERIFY(d.dialog.isVisible());
    }

    void accept_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("messages");
        QTest::newRow("*.DOC") << "optExtension"
                               << "*.DOC" << true << false << "DOC" << 0;
        QTest::newRow(".DOC") << "optExtension"
                              << ".DOC" << true << false << "DOC" << 0;
        QTest::newRow("spaced DOC") << "optExtension"
                                    << " DOC " << true << false << "DOC" << 0;
        QTest::newRow("tar.gz") << "optExtension"
                                << "tar.gz" << false << true << "tar.gz" << 1;
        QTest::newRow("spaced *.tar.gz") << "optExtension"
                                         << " *.tar.gz " << false << true << "*.tar.gz" << 1;
        QTest::newRow("empty extension") << "optExtension"
                                         << "  " << false << false << "" << 0;
        QTest::newRow("specification") << "optMultipleFiles"
                                       << "  a*.d* " << true << false << "a*.d*" << 0;
        QTest::newRow("empty specification") << "optMultipleFiles"
                                             << " " << false << false << "" << 0;
        QTest::newRow("all files") << "optAllFiles"
                                   << "" << true << false << "" << 0;
        QTest::newRow("no name selected") << "optSingleFile"
                                          << "" << false << false << "" << 0;
    }
    void accept()
    {
        QFETCH(QString, option);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(bool, stays);
        QFETCH(QString, text);
        QFETCH(int, messages);
        InputDialog d;
        d.Show();
        d.dialog.findChild<QRadioButton*>(option)->setChecked(true);
        OptionTextBox* box = option == u"optExtension" ? d.dialog.extensionBox : d.dialog.specBox;
        box->setText(typed);
        QTest::mouseClick(d.dialog.acceptButton, Qt::LeftButton);
        QCOMPARE(d.dialog.choiceAccepted, accepted);
        QCOMPARE(d.dialog.isVisible(), stays);
        if (option == u"optExtension" || option == u"optMultipleFiles") QCOMPARE(box->text(), text);
        QCOMPARE(static_cast<int>(d.prompter.messages.size()), messages);
        if (messages) {
            QCOMPARE(d.prompter.messages[0].text, QStringLiteral("Extension must not contain \".\"."));
            QCOMPARE(d.prompter.messages[0].title, QStringLiteral("Error"));
            QCOMPARE(d.prompter.messages[0].icon, MessageIcon::Exclamation);
        }
    }

    void theChoiceHandedBack()
    {
        InputDialog d;
        d.Show();
        d.ClickItem(1);
        QTest::mouseClick(d.dialog.acceptButton, Qt::LeftButton);
        QVERIFY(d.dialog.choiceAccepted);
        QCOMPARE(d.dialog.Choice().option, InputFilesOption::SingleFile);
        QCOMPARE(d.dialog.Choice().text, QStringLiteral("b.txt"));

        d.Show();
        QVERIFY(!d.dialog.choiceAccepted);
        QTest::keyClicks(d.dialog.extensionBox, QStringLiteral(" *.enc"));
        QTest::keyClick(d.dialog.extensionBox, Qt::Key_Return);
        QVERIFY(d.dialog.choiceAccepted);
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.dialog.Choice().option, InputFilesOption::Extension);
        QCOMPARE(d.dialog.Choice().text, QStringLiteral("enc"));

        d.Show();
        QCOMPARE(d.dialog.extensionBox->text(), QString());
        QTest::keyClicks(d.dialog.specBox, QStringLiteral("r*.t*"));
        QTest::keyClick(d.dialog.specBox, Qt::Key_Enter);
        QVERIFY(d.dialog.choiceAccepted);
        QCOMPARE(d.dialog.Choice().option, InputFilesOption::MultipleFiles);
        QCOMPARE(d.dialog.Choice().text, QStringLiteral("r*.t*"));

        d.Show();
        d.ClickItem(0, true);
        QVERIFY(d.dialog.choiceAccepted);
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.dialog.Choice().text, QStringLiteral("a.doc"));
    }

    void aNameThatIsNotUtf8IsShownEscapedAndChosenExactly()
    {
        InputDialog d;
        const QString name = FromFileSystemName("c\xe9.txt");
        const std::filesystem::path file = ToFileSystemPath(d.folder.filePath(name));
        std::ofstream(file) << "text";
        d.values.fileListCount = 3;
        d.Show();
        QCOMPARE(d.dialog.file->count(), 3);
        QCOMPARE(d.dialog.file->item(2)->text(), QStringLiteral("c\\xE9.txt"));
        d.ClickItem(2);
        QTest::mouseClick(d.dialog.acceptButton, Qt::LeftButton);
        QCOMPARE(d.dialog.Choice().text, name);
        std::filesystem::remove(file);
    }

    void cancellingAcceptsNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("window frame") << "close";
    }
    void cancellingAcceptsNothing()
    {
        QFETCH(QString, how);
        InputDialog d;
        d.Show();
        d.ClickItem(0);
        if (how == u"cancel")
            QTest::mouseClick(d.dialog.cancelButton, Qt::LeftButton);
        else if (how == u"escape")
            QTest::keyClick(&d.dialog, Qt::Key_Escape);
        else
            d.dialog.close();
        QVERIFY(!d.dialog.choiceAccepted);
        QVERIFY(!d.dialog.isVisible());
    }

    // A large folder: the dialog shows at once, its list empty, and fills in while the window keeps
    // its events; every name arrives, sorted.
    void aLargeFolderIsListedWhileTheDialogShows()
    {
        InputDialog d;
        constexpr int kFiles = 20000;
        for (int i = 0; i < kFiles; ++i) {
            QFile file(d.folder.filePath(QStringLiteral("f%1.dat").arg(i, 5, 10, QLatin1Char('0'))));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        d.dialog.show();
        QVERIFY(d.dialog.isVisible());
        QCOMPARE(d.dialog.file->count(), 0);
        QVERIFY(d.dialog.file->Filling());
        // The window's events go on meanwhile: a timer posted now fires before the list is full.
        int turns = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&turns] { ++turns; });
        ticks.start(0);
        QTRY_VERIFY_WITH_TIMEOUT(!d.dialog.file->Filling(), 20000);
        QVERIFY2(turns > 1, qPrintable(QString::number(turns)));
        QCOMPARE(d.dialog.file->count(), kFiles + 2);
        QCOMPARE(d.dialog.file->item(0)->text(), QStringLiteral("a.doc"));
        QCOMPARE(d.dialog.file->item(kFiles + 1)->text(), QStringLiteral("f19999.dat"));
    }
};

QTEST_MAIN(FrmSpecifyInputFilesTest)
#include "test_InputFilesDialog.moc"
