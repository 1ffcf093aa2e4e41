// Status-line benchmark: how long the main window waits while the status line of a single input
// file is written (its randomness is measured at once below 1 MiB and on a worker above), and how
// long until the description is complete. Usage: bench_status_line [MiB of the large file, 256]

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Median.h"
#include "core/analysis/BackgroundRandomnessMeasurer.h"
#include "core/app/MainWindowModel.h"
#include "core/app/ShortenPath.h"
#include "core/common/Prompter.h"

namespace {

class SilentPrompter final : public kyv::Prompter {
public:
    kyv::MessageAnswer Ask(const kyv::Message&) override { return kyv::MessageAnswer::Ok; }
};

// A file of `bytes` bytes of text-like data, read once so that the cache is warm.
bool MakeFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray block = QByteArray("The quarterly report, draft three. ").repeated(30000);
    for (qint64 written = 0; written < bytes;) {
        const qint64 chunk = std::min<qint64>(block.size(), bytes - written);
        if (file.write(block.constData(), chunk) != chunk) return false;
        written += chunk;
    }
    file.close();
    if (!file.open(QIODevice::ReadOnly)) return false;
    while (!file.read(1 << 20).isEmpty()) {
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 largeMiB = argc > 1 ? QByteArray(argv[1]).toLongLong() : 256;
    QTemporaryDir folder;
    SilentPrompter prompter;
    kyv::OperationSetup setup;
    kyv::WorkingValues values;
    values.notSpecifiedText = QStringLiteral("Not specified");
    bool complete = false;
    const kyv::platform::FloppyFolders floppies;
    kyv::MainWindowModel model(setup, values, prompter, floppies, [&complete] { complete = true; });
    setup.folders[kyv::kInputSide] = kyv::platform::FilePath(folder.path() + u'/');

    const qint64 sizes[] = {64 * 1024, kyv::BackgroundRandomnessMeasurer::kDefaultImmediateBelow - 1,
                            kyv::BackgroundRandomnessMeasurer::kDefaultImmediateBelow, largeMiB << 20};
    std::printf("%14s %16s %18s  description\n", "file bytes", "window waits ms", "description ms");
    for (const qint64 size : sizes) {
        const QString name = QStringLiteral("file-%1.txt").arg(size);
        if (!MakeFile(folder.filePath(name), size)) {
            std::fprintf(stderr, "cannot write %lld bytes in %s\n", static_cast<long long>(size),
                         qPrintable(folder.path()));
            return 1;
        }
        setup.fileSpecs[kyv::kInputSide] = name;
        std::vector<double> waits;
        std::vector<double> totals;
        for (int run = 0; run < 5; ++run) {
            complete = false;
            QElapsedTimer timer;
            timer.start();
            model.ShowFilesStatus(kyv::kInputSide);
            waits.push_back(timer.nsecsElapsed() / 1e6);
            QDeadlineTimer deadline(120000);
            while (!complete && !deadline.hasExpired() &&
                   !model.Labels().specExplanations[kyv::kInputSide].contains(u'('))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            totals.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("%14lld %16.3f %18.3f  %s\n", static_cast<long long>(size), Median(waits), Median(totals),
                    qPrintable(model.Labels().specExplanations[kyv::kInputSide]));
    }

    QString path = QStringLiteral("/home/user");
    for (int i = 0; i < 30; ++i) path += QStringLiteral("/folder-%1").arg(i);
    QElapsedTimer timer;
    timer.start();
    int length = 0;
    for (int i = 0; i < 10000; ++i) length += static_cast<int>(kyv::ShortenPath(path, 70).size());
    std::printf("ShortenPath, %lld-character path to 70: %.2f us per call (%d)\n",
                static_cast<long long>(path.size()), timer.nsecsElapsed() / 1e3 / 10000, length / 10000);
    return 0;
}
