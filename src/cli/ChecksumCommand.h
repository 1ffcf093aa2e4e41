#pragma once
// `kyv checksum`: the key's four-digit checksum alone on standard output, so that a key can be
// confirmed without showing it.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status.
[[nodiscard]] int RunChecksumCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
