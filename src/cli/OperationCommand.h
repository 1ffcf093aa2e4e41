#pragma once
// `kyv encrypt` and `kyv decrypt`: the launch checks of "Do it!" in their order, the key in the
// place of the key check, the disk-space check, and the batch driver with its report on standard
// output. No confirmation and no reliability-test offer.

#include "cli/CommandLine.h"

namespace kyv {
struct OperationSetup;
}

namespace kyv::cli {

struct Session;

// The exit status.
[[nodiscard]] int RunOperationCommand(const CommandLine& line, Session& session);

// Performs the operation `setup` describes, with the key and the answers `line` gives: the same
// checks, report and exit status as encrypt and decrypt.
[[nodiscard]] int RunOperation(OperationSetup& setup, const CommandLine& line, Session& session);

}  // namespace kyv::cli
