#pragma once
// `kyv randomness`: the listing of the randomness report on standard output.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status.
[[nodiscard]] int RunRandomnessCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
