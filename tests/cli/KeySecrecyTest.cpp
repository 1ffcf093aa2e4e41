// What a running kyv leaves of a typed key where a core image would show it, and how it treats a
// key line that never ends.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "KyvRunner.h"

namespace kyv {
namespace {

// A typed key no other bytes of the process would hold by chance, and its normalised form.
constexpr char kTypedMarker[] = "zq marker Kyv key 7Wx3 Jp5q vB8n";
constexpr char kNormalizedMarker[] = "ZQMARKERKYVKEY7WX3JP5QVB8N";

// kyv started with pipes of our own: standard output holds one page, so that a run whose report
// nobody reads stops in the middle, after the key was read and used (150 files give some 8 KiB).
// kyv's report goes into a pipe of one page.
constexpr int kPipeBytes = 4096;

class PausedKyv {
public:
    PausedKyv(const std::vector<std::string>& arguments, const std::string& input)
    {
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        ::fcntl(out[1], F_SETPIPE_SZ, kPipeBytes);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(KYV_CLI_PATH)};
            for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(KYV_CLI_PATH, argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        output_ = out[0];
        const ssize_t written = ::write(in[1], input.data(), input.size());
        ::close(in[1]);
        if (written != static_cast<ssize_t>(input.size())) return;
        // The pipe's one page stops taking lines before it is quite full: kyv is blocked writing
        // its report once the bytes waiting in the pipe stop growing, with most of the page taken
        // (a few lines waiting could be a slow key derivation, with the key still being worked on).
        QElapsedTimer timer;
        timer.start();
        int pending = 0;
        int stableSince = 0;
        while (timer.elapsed() < 60000) {
            int now = 0;
            if (::ioctl(output_, FIONREAD, &now) != 0) return;
            if (now != pending) stableSince = static_cast<int>(timer.elapsed());
            pending = now;
            if (pending > kPipeBytes / 2 && timer.elapsed() - stableSince > 500) break;
            QThread::msleep(10);
        }
        if (pending <= kPipeBytes / 2 || timer.elapsed() >= 60000) return;
        ::kill(pid_, SIGSTOP);
        int status = 0;
        paused_ = ::waitpid(pid_, &status, WUNTRACED) == pid_ && WIFSTOPPED(status);
    }
    ~PausedKyv()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) ::close(output_);
    }
    PausedKyv(const PausedKyv&) = delete;
    PausedKyv& operator=(const PausedKyv&) = delete;

    [[nodiscard]] bool Paused() const { return paused_; }
    [[nodiscard]] pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool paused_ = false;
};

struct MemoryScan {
    bool readable = false;  // false when the system refuses to show the memory
    std::size_t bytesRead = 0;
    std::vector<std::string> found;  // "marker in mapping" for every hit
};

// Reads every mapping a core image of `pid` would hold (readable, not marked "do not dump" as
// libsodium's guarded pages are) and looks for the markers.
MemoryScan ScanDumpableMemory(pid_t pid, const std::vector<std::string>& markers)
{
    MemoryScan scan;
    const int memory = ::open(("/proc/" + std::to_string(pid) + "/mem").c_str(), O_RDONLY | O_CLOEXEC);
    if (memory < 0) return scan;
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    std::string header;
    unsigned long start = 0;
    unsigned long end = 0;
    bool readablePages = false;
    while (std::getline(smaps, line)) {
        if (line.rfind("VmFlags:", 0) != 0) {
            unsigned long a = 0;
            unsigned long b = 0;
            char perms[5] = {};
            if (std::sscanf(line.c_str(), "%lx-%lx %4s", &a, &b, perms) == 3) {
                start = a;
                end = b;
                readablePages = perms[0] == 'r';
                header = line;
            }
            continue;
        }
        if (!readablePages || line.find(" dd") != std::string::npos) continue;
        // In pieces that overlap by a marker's length, so that no mapping needs a copy of its size.
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        constexpr std::size_t kOverlap = 64;
        std::string bytes(kPiece + kOverlap, '\0');
        bool hit = false;
        for (unsigned long at = start; at < end && !hit; at += kPiece) {
            const std::size_t wanted = std::min<std::size_t>(bytes.size(), end - at);
            const ssize_t got = ::pread(memory, bytes.data(), wanted, static_cast<off_t>(at));
            if (got <= 0) break;
            scan.readable = true;
            scan.bytesRead += std::min<std::size_t>(static_cast<std::size_t>(got), kPiece);
            const std::string_view piece(bytes.data(), static_cast<std::size_t>(got));
            for (const std::string& marker : markers) {
                if (piece.find(marker) != std::string_view::npos) {
                    scan.found.push_back(marker + " in " + header);
                    hit = true;
                }
            }
        }
    }
    ::close(memory);
    return scan;
}

TEST(KeySecrecy, RunningEncryptionHoldsNoCopyOfTheTypedKeyOutsideGuardedMemory)
{
    test::Scratch s;
    // Enough files that the report outgrows the one-page pipe.
    s.MakeFolder(QStringLiteral("out"));
    for (int i = 0; i < 150; ++i) s.Write(QStringLiteral("in/file%1.txt").arg(i), test::PlainText(100));
    PausedKyv kyv({"encrypt", "--key-stdin", "--as", "*.enc", "--to", s.Path("out").toStdString(),
                   s.Path("in").toStdString()},
                  std::string(kTypedMarker) + "\n");
    ASSERT_TRUE(kyv.Paused()) << "kyv never filled its report pipe";

    rlimit core{};
    ASSERT_EQ(::prlimit(kyv.Pid(), RLIMIT_CORE, nullptr, &core), 0);
    EXPECT_EQ(core.rlim_cur, 0u) << "kyv would write a core file";

    const MemoryScan scan = ScanDumpableMemory(kyv.Pid(), {kTypedMarker, kNormalizedMarker});
    if (!scan.readable)
        GTEST_SKIP() << "the system does not let this user read another process's memory (an undumpable "
                        "process needs CAP_SYS_PTRACE)";
    EXPECT_GT(scan.bytesRead, 1u << 20);
    for (const std::string& hit : scan.found) ADD_FAILURE() << "key found: " << hit;
}

// The program holds keys as well: it switches core files off for itself, whatever it inherited.
TEST(KeySecrecy, ProgramWritesNoCoreFile)
{
    rlimit allowed{1 << 20, RLIM_INFINITY};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &allowed), 0);
    allowed.rlim_cur = allowed.rlim_max == RLIM_INFINITY ? 1 << 20 : allowed.rlim_max;
    if (allowed.rlim_cur == 0) GTEST_SKIP() << "core files are off for this test already";
    ASSERT_EQ(::setrlimit(RLIMIT_CORE, &allowed), 0);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KYV_PROGRAM_PATH), {});
    ASSERT_TRUE(program.waitForStarted());
    rlimit core{allowed};
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000 && program.state() == QProcess::Running &&
           ::prlimit(static_cast<pid_t>(program.processId()), RLIMIT_CORE, nullptr, &core) == 0 &&
           core.rlim_cur != 0)
        QThread::msleep(20);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(core.rlim_cur, 0u);
}

TEST(KeySecrecy, KeyLineWithoutEndIsRefusedAfterABoundedRead)
{
    QProcess kyv;
    kyv.setStandardInputFile(QStringLiteral("/dev/zero"));
    kyv.start(QStringLiteral(KYV_CLI_PATH), {QStringLiteral("checksum"), QStringLiteral("--key-stdin")});
    ASSERT_TRUE(kyv.waitForStarted());
    if (!kyv.waitForFinished(20000)) {
        kyv.kill();
        kyv.waitForFinished();
        FAIL() << "kyv kept reading /dev/zero";
    }
    EXPECT_EQ(kyv.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(kyv.readAllStandardError()).contains(QStringLiteral("4096 bytes")));
}

}  // namespace
}  // namespace kyv
