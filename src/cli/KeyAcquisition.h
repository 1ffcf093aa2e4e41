#pragma once
// The key of a command, from a keyfile (the keyfile rules) or typed on standard input (the rules
// of the typing dialogs), installed in the key record as the program would install it.

#include "cli/CommandLine.h"

namespace kyv {
class Prompter;
struct KeyState;
}  // namespace kyv

namespace kyv::cli {

class TerminalOutput;

enum class KeyAcquired { Yes, No, Interrupted };

// Tells the user why when there is no key.
[[nodiscard]] KeyAcquired AcquireKey(const CommandLine& line, KeyState& key, TerminalOutput& output,
                                     Prompter& prompter);

}  // namespace kyv::cli
