// Start-up benchmark: from process start to the main window shown, then resident memory while
// idle. Run warm (twice), on a display or with QT_QPA_PLATFORM=offscreen:
//   build/bin/bench_startup
// It uses the installed program text beside it (build/bin/kyve.dat) and a scratch data folder.

#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/app/AppContext.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/launch/FreeSpaceSource.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtFileDialogs.h"
#include "platform/Drives.h"
#include "platform/ProgramPaths.h"

namespace {

// Seconds since this process started, from the kernel's start time.
double SecondsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    const double startTicks = std::stod(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto mainEntered = std::chrono::steady_clock::now();
    const double beforeMain = SecondsSinceProcessStart();
    QApplication application(argc, argv);
    QTemporaryDir appData;

    auto engine = kyv::cipher::MakeCipherEngine();
    if (!engine) return 1;
    kyv::gui::MessageBoxPrompter prompter;
    kyv::gui::QtFileDialogs dialogs;
    const kyv::SystemClock clock;
    kyv::DriveFreeSpace freeSpace;
    const kyv::ProgramPaths paths{kyv::platform::ProgramFolder(), QString(), appData.path(), QString()};
    const kyv::platform::FloppyFolders floppies;
    const kyv::Services services{clock, prompter, dialogs, freeSpace, paths, *engine, floppies};
    kyv::AppContext context(services);

    kyv::gui::MainWindow window(context);
    if (!window.StartUp()) return 1;
    QApplication::processEvents();
    const double toShown =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - mainEntered).count() + beforeMain;

    long idleKilobytes = 0;
    QTimer::singleShot(1000, [&] {
        idleKilobytes = ResidentKilobytes();
        window.close();
    });
    QApplication::exec();
    std::printf("start-up to main window shown: %.3f s (of which before main: %.3f s)\n", toShown,
                beforeMain);
    std::printf("resident memory when idle: %.1f MB\n", idleKilobytes / 1024.0);
    return 0;
}
