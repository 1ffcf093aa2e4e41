// Counting and listing a large folder against find(1) on the same folder, in the same run.
//
//   build/bin/bench_files_count [files]      (default 100000 files; half of them *.txt)
//
// Prints the best of several runs for CountMatchingFiles ("*.txt" and "*.*"), ListFolder and
// `find DIR -maxdepth 1 -name '*.txt' | wc -l`, the ratio to find, and the time per file for
// folders of a quarter, a half and all of the files (linearity). Events are processed as in the
// program (a QApplication on the offscreen platform when no display is set).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <fcntl.h>
#include <unistd.h>

#include "core/analysis/RandomnessListing.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderListing.h"
#include "core/operation/ReportFormatter.h"

namespace {

constexpr int kRuns = 5;

bool MakeFiles(const QString& folder, int count)
{
    for (int n = 0; n < count; ++n) {
        const QString name = QStringLiteral("%1file%2.%3").arg(folder).arg(n).arg(n % 2 == 0 ? "txt" : "dat");
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return false;
        ::close(fd);
    }
    return true;
}

// Best wall time in milliseconds over kRuns runs of `work`, which returns the count it found.
double BestMilliseconds(const std::function<long()>& work, long& found)
{
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        found = work();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// Keeps the listing in memory, as the report window's text would.
class MemoryReport final : public kyv::ReportSink {
public:
    bool Deliver(const kyv::ReportEvent& event) override
    {
        text += kyv::ReportTextOf(event);
        return true;
    }
    void PausePoint() override {}
    void ReportBufferFull() override {}
    bool StopRequested() const override { return false; }
    void RequestStop() override {}
    QString text;
};

class SilentPrompter final : public kyv::Prompter {
public:
    kyv::MessageAnswer Ask(const kyv::Message&) override { return kyv::MessageAnswer::Ok; }
};

long FindCount(const QString& folder)
{
    QProcess shell;
    shell.start(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("find \"$0\" -maxdepth 1 -name '*.txt' | wc -l"), folder});
    shell.waitForFinished(-1);
    return shell.readAllStandardOutput().trimmed().toLong();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;

    QTemporaryDir root;
    if (!root.isValid()) return 1;
    std::printf("folder of %d files (%d match *.txt) under %s\n", files, (files + 1) / 2,
                qPrintable(root.path()));

    double perFile[3] = {};
    const int sizes[3] = {files / 4, files / 2, files};
    for (int i = 0; i < 3; ++i) {
        const QString folder = root.path() + QStringLiteral("/f%1/").arg(i);
        QDir().mkpath(folder);
        if (!MakeFiles(folder, sizes[i])) {
            std::fprintf(stderr, "cannot create the files\n");
            return 1;
        }
        QString errorText;
        long found = 0;
        const double ms = BestMilliseconds(
            [&] {
                return static_cast<long>(kyv::CountMatchingFiles(kyv::platform::FilePath(folder),
                                                                 QStringLiteral("*.txt"), errorText));
            },
            found);
        perFile[i] = ms * 1e6 / sizes[i];
        if (i < 2) continue;

        long foundAll = 0;
        long listed = 0;
        long foundByFind = 0;
        const double allMs = BestMilliseconds(
            [&] {
                return static_cast<long>(kyv::CountMatchingFiles(kyv::platform::FilePath(folder),
                                                                 QStringLiteral("*.*"), errorText));
            },
            foundAll);
        const double listMs = BestMilliseconds(
            [&] {
                const auto listing =
                    kyv::ListFolder(kyv::platform::FilePath(folder), QStringLiteral("*.txt"), errorText);
                return listing ? static_cast<long>(listing->matchingFiles.size()) : -1L;
            },
            listed);
        const double findMs = BestMilliseconds([&] { return FindCount(folder); }, foundByFind);

        long walked = 0;
        const double walkMs = BestMilliseconds(
            [&] {
                MemoryReport report;
                SilentPrompter prompter;
                kyv::WorkingValues values;
                kyv::ListFolderRandomness(kyv::platform::FilePath(folder), QStringLiteral("*.txt"),
                                          {report, prompter, values, false, nullptr, {}});
                return static_cast<long>(report.text.count(QStringLiteral(" bytes)")));
            },
            walked);

        std::printf("CountMatchingFiles *.txt   %8.1f ms  (%ld files)\n", ms, found);
        std::printf("CountMatchingFiles *.*     %8.1f ms  (%ld files)\n", allMs, foundAll);
        std::printf("ListFolder *.txt           %8.1f ms  (%ld files)\n", listMs, listed);
        std::printf("find -maxdepth 1 | wc -l   %8.1f ms  (%ld files)\n", findMs, foundByFind);
        std::printf("ListFolderRandomness *.txt %8.1f ms  (%ld lines; empty files, no measure)\n", walkMs,
                    walked);
        std::printf("ratio CountMatchingFiles *.txt / find: %.2f (target at most 3)\n", ms / findMs);
        std::printf("ratio ListFolder *.txt / find:         %.2f\n", listMs / findMs);
        if (found != foundByFind || listed != foundByFind) std::printf("COUNTS DIFFER\n");
    }
    std::printf("ns per file, CountMatchingFiles *.txt: %d files %.0f, %d files %.0f, %d files %.0f\n",
                sizes[0], perFile[0], sizes[1], perFile[1], sizes[2], perFile[2]);
    return 0;
}
