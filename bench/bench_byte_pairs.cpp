// Byte-pair picture benchmark: how long the graphic window takes to draw the picture of a large
// file (target: 1 GiB in under 2 s), how long Stop takes to end the drawing (target: 100 ms), and
// the longest the window waits for its events meanwhile (target: 50 ms); then the drawing alone,
// as `kyv randomness --picture` does it. Run with QT_QPA_PLATFORM=offscreen.
// Usage: bench_byte_pairs [FOLDER, /dev/shm] [MiB, 1024]

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "Median.h"
#include "core/analysis/BytePairDrawing.h"
#include "core/common/Prompter.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/common/QtFileDialogs.h"

namespace {

class SilentPrompter final : public kyv::Prompter {
public:
    kyv::MessageAnswer Ask(const kyv::Message&) override { return kyv::MessageAnswer::Ok; }
};

using State = kyv::gui::RandomnessGraphicWindow::State;

// Random bytes (every pair occurs), read once so that the cache is warm.
bool MakeFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    std::vector<quint32> block(1 << 20);
    for (qint64 written = 0; written < bytes;) {
        QRandomGenerator::global()->fillRange(block.data(), block.size());
        const qint64 chunk = std::min<qint64>(static_cast<qint64>(block.size() * 4), bytes - written);
        if (file.write(reinterpret_cast<const char*>(block.data()), chunk) != chunk) return false;
        written += chunk;
    }
    file.close();
    if (!file.open(QIODevice::ReadOnly)) return false;
    while (!file.read(1 << 20).isEmpty()) {
    }
    return true;
}

// Handles events until `done`, noting the longest time between two ticks of a 2 ms timer: how
// long the window would have waited for an event.
template <typename Done>
double RunUntil(Done done, double& longestWaitMs)
{
    QEventLoop loop;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        longestWaitMs = std::max(longestWaitMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
        if (done()) loop.quit();
    });
    QElapsedTimer total;
    total.start();
    ticker.start();
    loop.exec();
    return total.nsecsElapsed() / 1e6;
}

// Processor time of the whole process (every thread), in milliseconds.
double ProcessorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/dev/shm");
    const qint64 mebibytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1024;
    QTemporaryDir folder(base + QStringLiteral("/kyv-bench-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("random.bin"));
    const kyv::platform::FilePath file(path);
    const qint64 size = mebibytes << 20;
    if (!folder.isValid() || !MakeFile(path, size)) {
        std::fprintf(stderr, "cannot write %lld MiB in %s\n", static_cast<long long>(mebibytes),
                     qPrintable(base));
        return 1;
    }
    SilentPrompter prompter;
    kyv::gui::QtFileDialogs fileDialogs;
    kyv::gui::RandomnessGraphicWindow window(prompter, fileDialogs);
    auto* save = window.findChild<QPushButton*>(QStringLiteral("cmdSavePicture"));
    const kyv::RandomnessGraphicText text{QStringLiteral("Input file: random.bin"), QString(), QString(),
                                          size};

    std::vector<double> drawMs, drawCpuMs, drawWaitMs, stopMs, stopWaitMs;
    for (int run = 0; run < 5; ++run) {
        window.Prepare(text, file);
        window.show();
        double longest = 0.0;
        const double cpuBefore = ProcessorMs();
        window.DisplayPressed();
        drawMs.push_back(RunUntil([&] { return window.DrawingState() == State::Finished; }, longest));
        drawCpuMs.push_back(ProcessorMs() - cpuBefore);
        drawWaitMs.push_back(longest);
        window.DisplayPressed();

        // Stop a quarter of a second into the next drawing.
        window.Prepare(text, file);
        window.show();
        window.DisplayPressed();
        longest = 0.0;
        QElapsedTimer quarter;
        quarter.start();
        RunUntil([&] { return quarter.elapsed() >= 250; }, longest);
        window.DisplayPressed();
        stopMs.push_back(RunUntil([&] { return save->isEnabled(); }, longest));
        stopWaitMs.push_back(longest);
        window.DisplayPressed();
    }
    std::printf(
        "graphic window, %lld MiB: picture complete in %.0f ms (median of 5; best %.0f; processor "
        "time %.0f ms), window waits at most %.1f ms\n",
        static_cast<long long>(mebibytes), Median(drawMs), *std::min_element(drawMs.begin(), drawMs.end()),
        Median(drawCpuMs), *std::max_element(drawWaitMs.begin(), drawWaitMs.end()));
    std::printf(
        "Stop to the drawing's end: %.1f ms (median of 5; worst %.1f), window waits at most %.1f ms\n",
        Median(stopMs), *std::max_element(stopMs.begin(), stopMs.end()),
        *std::max_element(stopWaitMs.begin(), stopWaitMs.end()));

    std::vector<double> aloneMs, aloneCpuMs;
    for (int run = 0; run < 5; ++run) {
        kyv::BytePairPicture picture;
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = ProcessorMs();
        if (kyv::DrawBytePairs(file, size, picture) != kyv::DrawingOutcome::Complete) return 1;
        aloneCpuMs.push_back(ProcessorMs() - cpuBefore);
        aloneMs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf(
        "drawing alone (kyv randomness --picture): %.0f ms (median of 5; best %.0f; processor time %.0f "
        "ms)\n",
        Median(aloneMs), *std::min_element(aloneMs.begin(), aloneMs.end()), Median(aloneCpuMs));
    return 0;
}
