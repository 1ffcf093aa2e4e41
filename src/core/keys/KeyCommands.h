#pragma once
// What the key panel's commands run: the typing dialogs and the keyfile command. The windows
// implement it in the program, a script in tests.

#include "core/keys/TypedKeyEntry.h"

namespace kyv {

class KeyCommands {
public:
    virtual ~KeyCommands() = default;
    // The two typing dialogs, shown modally; they report how they were left and what was typed.
    [[nodiscard]] virtual TypedKeyResult KeyboardWithDisplay() = 0;
    [[nodiscard]] virtual TypedKeyResult KeyboardWithoutDisplay() = 0;
    // "Get key from keyfile" (0) or "Create random key" (1); writes the key record itself.
    virtual void KeyFromKeyfile(int index) = 0;
};

}  // namespace kyv
