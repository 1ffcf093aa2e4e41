#pragma once
// What the key panel's commands run: the typing dialogs and the keyfile command. The windows
// implement it in the program, a script in tests.

#include "core/keys/TypedKeyEntry.h"

namespace kyv {

enum class KeyfileCommand { GetKey, CreateRandomKey };

class KeyCommands {
public:
    virtual ~KeyCommands() = default;
    // The two typing dialogs, shown modally; they report how they were left and what was typed.
    [[nodiscard]] virtual TypedKeyResult KeyboardWithDisplay() = 0;
    [[nodiscard]] virtual TypedKeyResult KeyboardWithoutDisplay() = 0;
    // "Get key from keyfile" or "Create random key"; writes the key record itself.
    virtual void KeyFromKeyfile(KeyfileCommand command) = 0;
};

}  // namespace kyv
