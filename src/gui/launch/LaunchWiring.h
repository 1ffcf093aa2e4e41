#pragma once
// What "Do it!" works with besides the application's context. The program fills it when it
// builds its windows; tests put fakes in.

#include <QString>
#include <functional>

#include "core/launch/Confirmer.h"
#include "core/launch/OperationLaunch.h"

namespace kyv {
class Clock;
class FreeSpaceSource;
class LaunchReportWindow;
class PurgeAdvice;
class RunController;
}  // namespace kyv

namespace kyv::gui {

struct LaunchWiring {
    // Without a report window "Do it!" cannot run.
    LaunchReportWindow* reportWindow = nullptr;
    // None: the main window's own confirmation dialog.
    Confirmer* confirmer = nullptr;
    // None: the drives' own figures.
    FreeSpaceSource* freeSpace = nullptr;
    // None: the system clock.
    const Clock* clock = nullptr;
    PurgeAdvice* purgeAdvice = nullptr;
    // Offers the reliability test when the setup names its files; none: the main window's own dialog.
    std::function<ReliabilityTestChoice()> offerReliabilityTest;
    // The program's own file; empty: the running program's.
    QString executablePath;
    // Runs the operation off the window's thread; none: the run holds the window until it ends.
    RunController* runController = nullptr;
};

}  // namespace kyv::gui
