#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include "core/app/PathOpener.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "support/StartedMainWindow.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// A started main window over a data folder with files to drop.
struct Installation : test::StartedMainWindow {
    // Drags the paths over the window and drops them there, as a file manager does; whether the
    // window took the drag.
    bool Drop(const QStringList& dropped, const QList<QUrl>& extraUrls = {})
    {
        QMimeData dragged;
        QList<QUrl> urls;
        for (const QString& path : dropped) urls.append(QUrl::fromLocalFile(path));
        dragged.setUrls(urls + extraUrls);
        const QPoint point(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(point, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &enter);
        const bool taken = enter.isAccepted();
        QDropEvent drop(QPointF(point), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &drop);
        // The window applies a drop once the drag source has its answer.
        QCoreApplication::processEvents();
        return taken && drop.isAccepted();
    }
};

}  // namespace

class MainWindowDropTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void dropsAreTakenAsTheFileCommandsTakeTheirChoice_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<int>("answer");  // to the question about extensions; 0: none asked
        QTest::addColumn<QString>("inputFolder");
        QTest::addColumn<QString>("inputSpec");
        QTest::addColumn<QString>("outputSpec");
        QTest::newRow("one file") << QStringList{"report.doc"} << false << 0 << ""
                                  << "report.doc"
                                  << "Not specified";
        QTest::newRow("one folder") << QStringList{"lower"} << true << 0 << "lower/"
                                    << "Not specified"
                                    << "Not specified";
        QTest::newRow("files sharing an extension") << QStringList{"a.doc", "b.DOC"} << false << 0 << ""
                                                    << "*.doc"
                                                    << "Not specified";
        QTest::newRow("files of two extensions, all files")
            << QStringList{"a.doc", "b.txt"} << false << int(MessageAnswer::Yes) << ""
            << "*.*"
            << "*.*";
    }
    void dropsAreTakenAsTheFileCommandsTakeTheirChoice()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, folder);
        QFETCH(int, answer);
        QFETCH(QString, inputFolder);
        QFETCH(QString, inputSpec);
        QFETCH(QString, outputSpec);
        Installation in;
        QStringList paths;
        for (const QString& name : names) {
            if (folder) QDir(in.data.path()).mkdir(name);
            paths.append(folder ? in.data.filePath(name) : in.File(name));
        }
        if (answer != 0) in.prompter.Answer(static_cast<MessageAnswer>(answer));
        QVERIFY(in.Drop(paths));
        QCOMPARE(in.Label("lblDirectory_0"), in.Folder() + inputFolder);
        QCOMPARE(in.Label("lblFiles_0"), inputSpec);
        QCOMPARE(in.Label("lblDirectory_1"), in.Folder() + inputFolder);
        QCOMPARE(in.Label("lblFiles_1"), outputSpec);
        QCOMPARE(in.Label("lblFunction"), QStringLiteral("Encryption"));
        QCOMPARE(in.prompter.messages.size(), std::size_t(answer != 0 ? 1 : 0));
    }

    void aRefusedChoiceOrANonLocalDropChangesNothing()
    {
        Installation in;
        in.prompter.Answer(MessageAnswer::No);
        QVERIFY(in.Drop({in.File("a.doc"), in.File("b.txt")}));
        QCOMPARE(in.prompter.messages.size(), std::size_t(1));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("Not specified"));

        // Files of two folders, or a folder among files: said so, nothing changes.
        QDir(in.data.path()).mkdir(QStringLiteral("lower"));
        QVERIFY(in.Drop({in.File("a.doc"), in.File("lower/c.doc")}));
        QCOMPARE(in.prompter.messages.size(), std::size_t(2));
        QCOMPARE(in.prompter.messages.back().text,
                 QStringLiteral("Kyv Cipher takes one file, one folder, or several files of one folder."));
        QCOMPARE(in.Label("lblDirectory_0"), QStringLiteral("Not specified"));

        // A web address among the files: the drag is not taken at all.
        QVERIFY(!in.Drop({in.File("a.doc")}, {QUrl(QStringLiteral("https://example.org/a.doc"))}));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("Not specified"));
        QCOMPARE(in.prompter.messages.size(), std::size_t(2));
    }

    void noDropWhileAPanelIsOpenARunGoesOnOrClicksAreIgnored_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("key panel open") << "panel";
        QTest::newRow("run in progress") << "run";
        QTest::newRow("clicks ignored") << "ignore";
    }
    void noDropWhileAPanelIsOpenARunGoesOnOrClicksAreIgnored()
    {
        QFETCH(QString, state);
        Installation in;
        in.window->show();
        if (state == QStringLiteral("panel")) in.window->OpenKeyPanel();
        if (state == QStringLiteral("run")) in.context.run.control.runInProgress = true;
        if (state == QStringLiteral("ignore")) in.context.values.ignoreClicks = true;
        QVERIFY(!in.Drop({in.File("report.doc")}));
        QCOMPARE(in.Setup().fileSpecs[kInputSide], QString());
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("Not specified"));
        QVERIFY(in.prompter.messages.empty());

        // Once the state has passed, the same drop is taken.
        in.context.run.control.runInProgress = false;
        in.context.values.ignoreClicks = false;
        if (state == QStringLiteral("panel")) return;
        QVERIFY(in.Drop({in.File("report.doc")}));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("report.doc"));
    }

    void theCommandLineSetsUpWhatItNames()
    {
        Installation in;
        QFile::copy(QStringLiteral(KYV_TEST_DATA "/cipher/success-line.kyv"),
                    in.data.filePath("letter.doc.enc"));
        in.window->OpenPaths({in.data.filePath("letter.doc.enc")}, StartFunction::AsSetup);
        QCOMPARE(in.Label("lblFunction"), QStringLiteral("Decryption"));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("letter.doc.enc"));
        QCOMPARE(in.Label("lblDirectory_1"), in.Folder());
        QCOMPARE(in.Label("lblFiles_1"), QStringLiteral("*"));
        QCOMPARE(in.Label("lblOutputFilesSame"), QStringLiteral("No"));
        QCOMPARE(in.window->Button(MainCommand::KeyFrom)->text(), QStringLiteral("Decryption key"));

        // A path that names nothing: a message, and the window goes on with the setup it had.
        in.window->OpenPaths({in.data.filePath("gone.enc")}, StartFunction::AsSetup);
        QCOMPARE(in.prompter.messages.size(), std::size_t(1));
        QCOMPARE(in.prompter.messages[0].text,
                 QStringLiteral("There is no file or folder ") + in.data.filePath("gone.enc") + u'.');
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("letter.doc.enc"));

        // A folder, and a plain file.
        QDir(in.data.path()).mkdir(QStringLiteral("lower"));
        in.window->OpenPaths({in.data.filePath("lower")}, StartFunction::Encrypt);
        QCOMPARE(in.Label("lblDirectory_0"), in.Folder() + QStringLiteral("lower/"));
        QCOMPARE(in.Label("lblFunction"), QStringLiteral("Encryption"));
        in.window->OpenPaths({in.File("plain.txt")}, StartFunction::AsSetup);
        QCOMPARE(in.Label("lblFunction"), QStringLiteral("Encryption"));
        QCOMPARE(in.Label("lblFiles_0"), QStringLiteral("plain.txt"));
        QCOMPARE(in.Label("lblFiles_1"), QStringLiteral("Not specified"));
    }
};

QTEST_MAIN(MainWindowDropTest)
#include "test_mainWindowDrop.moc"
