// End to end: a random keyfile created in the random-key window becomes the program's key, the
// program encrypts a folder with it (passing over the keyfile itself), and the command-line tool
// decrypts the result with `--key-file` on the same file.

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "ModalScript.h"
#include "core/launch/LaunchTestDoubles.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/keys/KeyPanel.h"
#include "gui/keys/RandomKeyDialog.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// Moves the pointer over the random-key window and samples until it closes itself.
void MoveUntilClosed(QWidget* window)
{
    auto* dialog = qobject_cast<RandomKeyDialog*>(window);
    QVERIFY(dialog != nullptr);
    for (int sample = 0; sample < 64 && dialog->isVisible(); ++sample) {
        const QPointF position(5 + (sample * 37) % 300, 5 + (sample * 53) % 150);
        QMouseEvent move(QEvent::MouseMove, position, dialog->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(dialog, &move);
        dialog->Sample();
    }
}

// Answers "Retry" to a rejected random key (and moves again), "No" to "Inspect the key?".
class KeyfilePrompter final : public Prompter {
public:
    MessageAnswer Ask(const Message& message) override
    {
        titles << message.title;
        if (message.buttons == MessageButtons::RetryCancel) {
            kyv::test::WhenShown(QStringLiteral("frmRandomKey"), MoveUntilClosed);
            return MessageAnswer::Retry;
        }
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QStringList titles;
};

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestRandomKeyfileEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void createdKeyfileEncryptsInTheProgramAndDecryptsWithTheTool()
    {
        kyv::test::TestInstallation installation(true, cipher::MakeCipherEngine());
        KeyfilePrompter prompter;
        const Services services{installation.clock,     prompter,           installation.fileDialogs,
                                installation.freeSpace, installation.paths, *installation.realEngine,
                                installation.floppies};
        AppContext context(services);
        kyv::test::RecordingReportWindow report;
        kyv::test::ScriptedConfirmer confirmer;
        MainWindow window(context, WindowWiring{.reportWindow = &report, .confirmer = &confirmer});
        QVERIFY(window.StartUp());

        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("papers/"));
        QVERIFY(QDir().mkpath(folder));
        std::mt19937 generator(16);
        QByteArray binary;
        for (int i = 0; i < 5000; ++i) binary.append(static_cast<char>(generator()));
        const QByteArray text = QByteArray("A letter that should stay private.\r\n").repeated(90);
        Write(folder + QStringLiteral("letter.txt"), text);
        Write(folder + QStringLiteral("picture.png"), binary);
        // The keyfile lies among the files it protects.
        const QString keyfile = folder + QStringLiteral("secret.key");

        // "Encryption key", "Create random key", the new keyfile's name, the window.
        installation.fileDialogs.Choose(keyfile);
        kyv::test::WhenShown(QStringLiteral("frmRandomKey"), MoveUntilClosed);
        window.Click(MainCommand::KeyFrom);
        window.Keys().PanelWidget()->findChild<QPushButton*>(QStringLiteral("cmdKeyFile_1"))->click();
        QCOMPARE(context.key.source, Keyfile);
        QVERIFY(context.key.newRandomKey);
        QVERIFY(prompter.titles.last().endsWith(QStringLiteral("secret.key")));  // "Inspect the key?": No
        const QByteArray keyBytes = Read(keyfile);
        QCOMPARE(keyBytes.size(), 64);

        // Every file of the folder, in place.
        context.setup.folders = {kyv::platform::FilePath(folder), kyv::platform::FilePath(folder)};
        context.setup.fileSpecs = {QStringLiteral("*.*"), QStringLiteral("*.*")};
        context.setup.inPlace = true;
        window.Click(MainCommand::DoIt);
        QVERIFY2(report.state.result.filesDone == 2, qPrintable(report.sink.text));
        QVERIFY2(report.sink.text.contains(QStringLiteral("This is the current keyfile.")),
                 qPrintable(report.sink.text));
        QCOMPARE(Read(keyfile), keyBytes);
        QVERIFY(Read(folder + QStringLiteral("letter.txt")) != text);

        QProcess kyv;
        kyv.start(QStringLiteral(KYV_CLI_PATH),
                  {QStringLiteral("decrypt"), QStringLiteral("--in-place"), QStringLiteral("--key-file"),
                   keyfile, QStringLiteral("--yes"), folder, QStringLiteral("*.*")});
        kyv.closeWriteChannel();
        QVERIFY(kyv.waitForFinished(120000));
        const QByteArray errors = kyv.readAllStandardError();
        QVERIFY2(kyv.exitCode() == 1, errors.constData());  // 1: the keyfile was passed over
        QVERIFY2(kyv.readAllStandardOutput().contains("This is the current keyfile."), errors.constData());
        QCOMPARE(Read(folder + QStringLiteral("letter.txt")), text);
        QCOMPARE(Read(folder + QStringLiteral("picture.png")), binary);
        QCOMPARE(Read(keyfile), keyBytes);
    }
};

QTEST_MAIN(TestRandomKeyfileEndToEnd)
#include "test_RandomKeyfileEndToEnd.moc"
