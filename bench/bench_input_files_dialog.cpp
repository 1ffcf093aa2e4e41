// "Input file(s)" on a large folder: how long showing the dialog holds up the window, the longest
// the window then waits between two turns of its event loop while the list fills in, and how long
// until every name is listed.
//
//   build/bin/bench_input_files_dialog [files]      (default 100000 files)
//
// Runs on the offscreen platform when no display is set.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Median.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "gui/files/FileListBox.h"
#include "gui/files/InputFilesDialog.h"

namespace {

class SilentPrompter final : public kyv::Prompter {
public:
    kyv::MessageAnswer Ask(const kyv::Message&) override { return kyv::MessageAnswer::Ok; }
};

struct Timings {
    double showMs = 0;
    double longestWaitMs = 0;
    double filledMs = 0;
};

Timings ShowOnce(kyv::gui::InputFilesDialog& dialog, int files)
{
    Timings timings;
    QElapsedTimer clock;
    clock.start();
    dialog.show();
    timings.showMs = clock.nsecsElapsed() / 1e6;
    // A timer of no interval fires at every turn of the event loop: the gaps between its ticks are
    // how long the window waits for its events.
    qint64 lastTick = clock.nsecsElapsed();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        timings.longestWaitMs = std::max(timings.longestWaitMs, (now - lastTick) / 1e6);
        lastTick = now;
        if (dialog.file->count() >= files) {
            timings.filledMs = now / 1e6;
            QCoreApplication::exit(0);
        }
    });
    ticks.start(0);
    QApplication::exec();
    dialog.hide();
    return timings;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir folder;
    for (int i = 0; i < files; ++i) {
        QFile file(folder.filePath(QStringLiteral("document-%1.txt").arg(i, 6, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write in %s\n", qPrintable(folder.path()));
            return 1;
        }
    }
    SilentPrompter prompter;
    kyv::OperationSetup setup;
    kyv::WorkingValues values;
    values.fileListCount = 1;
    kyv::gui::InputFilesDialog dialog(setup, values, prompter);
    dialog.file->SetPath(kyv::platform::FilePath(folder.path() + u'/'));

    std::vector<double> shows, waits, filled;
    for (int run = 0; run < 5; ++run) {
        const Timings timings = ShowOnce(dialog, files);
        shows.push_back(timings.showMs);
        waits.push_back(timings.longestWaitMs);
        filled.push_back(timings.filledMs);
    }
    std::printf("%d files, median of 5: show %.1f ms, longest wait for events %.1f ms, all listed %.0f ms\n",
                files, Median(shows), Median(waits), Median(filled));
    return 0;
}
