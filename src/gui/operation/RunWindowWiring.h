#pragma once
// How the program's window thread lives with a run on the RunController's worker: it waits for the
// run's end in a local event loop (clicks, repaints and the walk's queued calls go on), and the
// report window's Stop, Pause and Continue wake a paused walk.

namespace kyv {
class RunController;
}

namespace kyv::gui {

class ReportWindow;

// Handles the window's events until the controller's run has ended: the waiter the program's
// controller is made with.
void WaitForRunEnd(RunController& controller);

// `report` wakes the controller's walk when its flags change.
void AttachRunController(RunController& controller, ReportWindow& report);

}  // namespace kyv::gui
