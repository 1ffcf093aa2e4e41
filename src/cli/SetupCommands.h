#pragma once
// `kyv run` and `kyv show`: a setup saved by the program as an operation file (*.opn), performed
// from a script or a timer, or told in words.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// Loads the setup (refusing what the program's "Load setup" refuses) and performs it as
// `kyv encrypt|decrypt` would; the exit status.
[[nodiscard]] int RunSetupCommand(const CommandLine& line, Session& session);

// Prints the setup in words on standard output; the exit status.
[[nodiscard]] int ShowSetupCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
