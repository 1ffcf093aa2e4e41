#pragma once

#include <functional>

namespace kyv {

// Lets the window system handle what is pending (clicks, timers, repaints). Long loops call it at
// the points where the program promises to stay responsive.
void ProcessPendingEvents();

// Replaces what ProcessPendingEvents does (tests count or script the calls); an empty function
// restores the default.
void SetPendingEventsHandler(std::function<void()> handler);

}  // namespace kyv
