#pragma once
// The point between files where a run honours Stop and Pause. Every report sink that keeps its
// flags in a RunState runs its PausePoint through here, on the thread that runs the walk.

#include <functional>

namespace kyv {

class Clock;
class ReportSink;
struct RunState;

struct RunFlags {
    bool stop = false;
    bool paused = false;
};

struct PausePointHooks {
    // Reads Stop and Pause as the window last set them; none: straight from the run state.
    std::function<RunFlags()> readFlags;
    // Blocks the walk until the window may have changed them (Continue, Stop, Close). None: nobody
    // can press Continue while the walk runs on this thread, so a pause is passed over.
    std::function<void()> waitForChange;
};

// On a stop closes the line; while paused tells the sink so ("Paused"), waits for Continue, Stop or Close and
// adds the paused time to pausedSeconds.
void RunPausePoint(RunState& state, ReportSink& sink, const Clock& clock, const PausePointHooks& hooks);

}  // namespace kyv
