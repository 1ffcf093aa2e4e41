#pragma once
// `kyv encrypt` and `kyv decrypt`: the launch checks of "Do it!" in their order, the key in the
// place of the key check, the disk-space check, and the batch driver with its report on standard
// output. No confirmation and no reliability-test offer.

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The exit status.
[[nodiscard]] int RunOperationCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
