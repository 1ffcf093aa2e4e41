#pragma once
// The point between files where a run honours Stop and Pause: a report sink that keeps its
// flags in a RunState runs its PausePoint through here.

#include <functional>

namespace kyv {

class Clock;
class ReportSink;
struct RunState;

struct PausePointHooks {
    // Handles pending events without waiting (the walk goes on at once).
    std::function<void()> processEvents;
    // Handles events, waiting for the next one (the pause loop does not spin).
    std::function<void()> waitForEvents;
    // Switches the auto-scroll timer; it stands still while paused.
    std::function<void(bool)> setAutoScroll;
};

// Processes events; on a stop closes the line; while paused waits for Continue, Stop or Close
// and adds the paused time to pausedSeconds.
void RunPausePoint(RunState& state, ReportSink& sink, const Clock& clock, const PausePointHooks& hooks);

}  // namespace kyv
