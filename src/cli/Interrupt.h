#pragma once
// Ctrl-C asks for a stop, as the report window's "Stop" does: the file being worked on is finished
// and the run ends at its next stop test. A second Ctrl-C ends the program at once.

namespace kyv::cli {

// Installs the handler; system calls it interrupts return early instead of being restarted, so
// that a pending read of an answer or a key gives way.
void InstallInterruptHandler();

// Whether Ctrl-C has been pressed since the handler was installed.
[[nodiscard]] bool InterruptRequested();

}  // namespace kyv::cli

namespace kyv::cli {

// Thrown when Ctrl-C comes before the real run has begun: nothing has been changed yet, so the
// command ends without processing anything.
struct RunAbandoned {};

}  // namespace kyv::cli
