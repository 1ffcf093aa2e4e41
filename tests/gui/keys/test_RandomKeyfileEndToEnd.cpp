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
        kyv::test::TestInstallation installation;
        const auto engine = cipher::MakeCipherEngine();
        KeyfilePrompter prompter;
        installation.context.engine = engine.get();
        installation.context.prompter = &prompter;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        kyv::test::RecordingReportWindow report;
        kyv::test::ScriptedConfirmer confirmer;
        kyv::test::FixedFreeSpace freeSpace;
        window.launch.reportWindow = &report;
        window.launch.confirmer = &confirmer;
        window.launch.freeSpace = &freeSpace;

        QTemporaryDir root;
        const QString in = root.filePath(QStringLiteral("in/"));
        const QString out = root.filePath(QStringLiteral("out/"));
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(out));
        std::mt19937 generator(16);
        QByteArray binary;
        for (int i = 0; i < 5000; ++i) binary.append(static_cast<char>(generator()));
        const QByteArray text = QByteArray("A letter that should stay private.\r\n").repeated(90);
        Write(in + QStringLiteral("letter.txt"), text);
        Write(in + QStringLiteral("picture.bin"), binary);
        const QString keyfile = in + QStringLiteral("secret.key");

        // "Encryption key", "Create random key", the new keyfile's name, the window.
        installation.fileDialogs.Choose(keyfile);
        kyv::test::WhenShown(QStringLiteral("frmRandomKey"), MoveUntilClosed);
        window.Click(MainCommand::KeyFrom);
        window.Keys().PanelWidget()->findChild<QPushButton*>(QStringLiteral("cmdKeyFile_1"))->click();
        QCOMPARE(installation.context.key.source, Keyfile);
        QVERIFY(installation.context.key.newRandomKey);
        QCOMPARE(prompter.titles.last(), keyfile);  // "Inspect the key?" answered No
        QCOMPARE(Read(keyfile).size(), 64);

        installation.context.setup.folders = {in, out};
        installation.context.setup.fileSpecs = {QStringLiteral("*.*"), QStringLiteral("*.enc")};
        window.Click(MainCommand::DoIt);
        QCOMPARE(report.state.result.filesDone, 2);
        QVERIFY2(report.sink.text.contains(QStringLiteral("This is the current keyfile.")),
                 qPrintable(report.sink.text));
        QVERIFY(!QFile::exists(out + QStringLiteral("secret.enc")));
        QVERIFY(Read(out + QStringLiteral("letter.enc")) != text);

        QProcess kyv;
        kyv.start(
            QStringLiteral(KYV_CLI_PATH),
            {QStringLiteral("decrypt"), QStringLiteral("--as"), QStringLiteral("*.dec"),
             QStringLiteral("--key-file"), keyfile, QStringLiteral("--yes"), out, QStringLiteral("*.enc")});
        kyv.closeWriteChannel();
        QVERIFY(kyv.waitForFinished(120000));
        QVERIFY2(kyv.exitCode() == 0, kyv.readAllStandardError().constData());
        QCOMPARE(Read(out + QStringLiteral("letter.dec")), text);
        QCOMPARE(Read(out + QStringLiteral("picture.dec")), binary);
    }
};

QTEST_MAIN(TestRandomKeyfileEndToEnd)
#include "test_RandomKeyfileEndToEnd.moc"
