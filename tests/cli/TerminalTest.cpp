#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <cstdlib>

#include "KyvRunner.h"

namespace kyv {
namespace {

// kyv on a pseudo-terminal, as a person at a terminal would run it.
class TerminalSession {
public:
    explicit TerminalSession(const QStringList& arguments)
    {
        QList<QByteArray> bytes;
        for (const QString& argument : arguments) bytes << argument.toUtf8();
        std::vector<char*> argv{const_cast<char*>("kyv")};
        for (QByteArray& argument : bytes) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            setenv("LC_ALL", "C", 1);
            execv(KYV_CLI_PATH, argv.data());
            _exit(127);
        }
    }
    ~TerminalSession()
    {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }

    [[nodiscard]] bool Started() const { return pid_ > 0; }

    // Reads until `text` has appeared since the last call; false on timeout or end.
    bool WaitFor(const QByteArray& text)
    {
        const QDeadlineTimer deadline(20000);
        while (!unseen_.contains(text)) {
            if (!ReadSome(deadline)) return false;
        }
        unseen_ = unseen_.mid(unseen_.indexOf(text) + text.size());
        return true;
    }

    void Type(const QByteArray& line)
    {
        (void)!write(master_, line.constData(), static_cast<size_t>(line.size()));
    }

    // Reads to the end and returns the exit status.
    int Finish()
    {
        const QDeadlineTimer deadline(20000);
        while (ReadSome(deadline)) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    QByteArray transcript;

private:
    bool ReadSome(const QDeadlineTimer& deadline)
    {
        pollfd ready{master_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0))) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        transcript.append(buffer, n);
        unseen_.append(buffer, n);
        return true;
    }

    int master_ = -1;
    pid_t pid_ = -1;
    bool reaped_ = false;
    QByteArray unseen_;
};

// On a terminal the key is typed without echo, and the "Anomaly" and "Abort?" questions are
// asked and answered there.
TEST(KyvTerminal, KeyIsTypedUnseenAndQuestionsAreAsked)
{
    test::Scratch s;
    s.Write(QStringLiteral("plain.txt"), test::PlainText(2000));
    s.Write(QStringLiteral("second.txt"), test::PlainText(3000));
    TerminalSession kyv({QStringLiteral("decrypt"), QStringLiteral("--in-place"),
                         QStringLiteral("--key-stdin"), s.Path(QString())});
    ASSERT_TRUE(kyv.Started());
    const QByteArray key = "Secret Words Nobody Should See";
    ASSERT_TRUE(kyv.WaitFor("(which will not be displayed): ")) << kyv.transcript.toStdString();
    kyv.Type(key + "\n");
    ASSERT_TRUE(kyv.WaitFor("Attempt to decrypt it anyway? [y/N] ")) << kyv.transcript.toStdString();
    kyv.Type("n\n");
    ASSERT_TRUE(kyv.WaitFor("kyv: Abort?: Abort this decryption operation? [Y/n] "))
        << kyv.transcript.toStdString();
    kyv.Type("no\n");
    // The last file of the folder: skipped without the "Abort?" question.
    ASSERT_TRUE(kyv.WaitFor("Attempt to decrypt it anyway? [y/N] ")) << kyv.transcript.toStdString();
    kyv.Type("\n");
    EXPECT_EQ(kyv.Finish(), 1);

    const QString transcript = QString::fromUtf8(kyv.transcript);
    EXPECT_EQ(transcript.count(QStringLiteral("kyv: Anomaly: This file appears NOT to be encrypted?")), 2);
    EXPECT_EQ(transcript.count(QStringLiteral("Abort this decryption operation?")), 1);
    EXPECT_EQ(transcript.count(QStringLiteral("skipped (file seems not encrypted)\r\n")), 2);
    EXPECT_FALSE(kyv.transcript.contains(key));
    EXPECT_FALSE(kyv.transcript.contains("Nobody")) << kyv.transcript.toStdString();
    EXPECT_EQ(s.Read(QStringLiteral("plain.txt")), test::PlainText(2000));
}

// "Abort?" answered Yes ends the operation after the skipped file.
TEST(KyvTerminal, AbortEndsTheOperation)
{
    test::Scratch s;
    s.Write(QStringLiteral("plain.txt"), test::PlainText(2000));
    s.Write(QStringLiteral("second.txt"), test::PlainText(3000));
    TerminalSession kyv({QStringLiteral("decrypt"), QStringLiteral("--in-place"),
                         QStringLiteral("--key-stdin"), s.Path(QString())});
    ASSERT_TRUE(kyv.Started());
    ASSERT_TRUE(kyv.WaitFor("(which will not be displayed): "));
    kyv.Type("another secret key of enough length\n");
    ASSERT_TRUE(kyv.WaitFor("[y/N] "));
    kyv.Type("n\n");
    ASSERT_TRUE(kyv.WaitFor("[Y/n] "));
    kyv.Type("\n");
    EXPECT_EQ(kyv.Finish(), 1);
    const QString transcript = QString::fromUtf8(kyv.transcript);
    EXPECT_EQ(transcript.count(QStringLiteral("skipped (file seems not encrypted)\r\n")), 1);
    EXPECT_EQ(transcript.count(QStringLiteral("kyv: Anomaly:")), 1);
}

// The batch's progress is drawn on the terminal while the run goes and cleared before it ends.
// The run is held at the first question long enough for the progress to be due.
TEST(KyvTerminal, TheBatchsProgressLineAppearsAndIsCleared)
{
    test::Scratch s;
    s.Write(QStringLiteral("plain.txt"), test::PlainText(2000));
    s.Write(QStringLiteral("second.txt"), test::PlainText(3000));
    TerminalSession kyv({QStringLiteral("decrypt"), QStringLiteral("--in-place"),
                         QStringLiteral("--key-stdin"), s.Path(QString())});
    ASSERT_TRUE(kyv.Started());
    ASSERT_TRUE(kyv.WaitFor("(which will not be displayed): "));
    kyv.Type("another secret key of enough length\n");
    ASSERT_TRUE(kyv.WaitFor("[y/N] "));
    usleep(600 * 1000);
    kyv.Type("n\n");
    ASSERT_TRUE(kyv.WaitFor("[Y/n] "));
    kyv.Type("no\n");
    ASSERT_TRUE(kyv.WaitFor("[y/N] "));
    usleep(600 * 1000);
    kyv.Type("n\n");
    EXPECT_EQ(kyv.Finish(), 1);

    const QByteArray& t = kyv.transcript;
    // The first file's end: 2000 or 3000 of the 5000 bytes, whichever the folder lists first.
    EXPECT_TRUE(t.contains("\r\033[KBatch 40%") || t.contains("\r\033[KBatch 60%")) << t.toStdString();
    EXPECT_TRUE(t.contains("\r\033[KBatch 100%")) << t.toStdString();
    // Nothing of it is left on the line at the end.
    const qsizetype lastDrawn = t.lastIndexOf("Batch ");
    const qsizetype lastCleared = t.lastIndexOf("\r\033[K");
    EXPECT_GT(lastCleared, lastDrawn);
    EXPECT_FALSE(t.mid(lastCleared).contains("Batch"));
}

}  // namespace
}  // namespace kyv
