#pragma once
// `kyv recover`: lists what interrupted runs left in a folder and, with --apply, finishes their
// interrupted steps.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status: 0 when nothing is left for the user to look at.
[[nodiscard]] int RunRecoverCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
