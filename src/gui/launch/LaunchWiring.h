#pragma once
// What "Do it!" works with besides the application's context. The program fills it when it
// builds its windows; tests put fakes in.

#include <QString>
#include <functional>

#include "core/launch/Confirmer.h"
#include "core/launch/OperationLaunch.h"

namespace kyv {
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
    PurgeAdvice* purgeAdvice = nullptr;
    // Offers the reliability test when the setup names its files; none: the main window's own dialog.
    std::function<ReliabilityTestChoice()> offerReliabilityTest;
    // Runs the operation off the window's thread; none: the run holds the window until it ends.
    RunController* runController = nullptr;
};

}  // namespace kyv::gui
