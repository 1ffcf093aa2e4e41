#pragma once
// `kyv randomness --picture OUT.png FILE`: the graphic window's picture of one file's byte pairs,
// written as a PNG image.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status.
[[nodiscard]] int RunPictureCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
