#pragma once
// `kyv verify`: authenticates the encrypted files of a folder without writing any plaintext.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status: 0 only when every matching file authenticated.
[[nodiscard]] int RunVerifyCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
