#pragma once
// A typed key read from standard input: one line of UTF-8 text, held in guarded memory only and
// turned into the Windows-1252 bytes the program's typing fields would hold. On a terminal the
// line is read without echo, and an encryption key is typed twice.

#include <QString>
#include <span>

#include "core/keys/SecureBytes.h"

namespace kyv::cli {

class TerminalOutput;

enum class KeyTextStatus {
    Read,
    NoKey,        // standard input ended before a line
    Interrupted,  // Ctrl-C while typing
    NotUtf8,
    NotSingleByte,  // a character the Windows-1252 code page does not hold
    TooLong,        // more characters than a typing field takes
    LineTooLong,    // no line end within kKeyLineLimit bytes: not a key at all
    TooShort,       // fewer than 16 characters once spaces and controls are left out
    EntriesDiffer,  // the two entries on a terminal do not give the same key
};

// Bytes read from standard input in search of the key line's end before the line is refused: a
// key is at most 64 characters, and /dev/zero or a large file must not keep the command reading.
inline constexpr std::size_t kKeyLineLimit = 4096;

// The Windows-1252 bytes of UTF-8 `text`, decoded without an unguarded copy.
[[nodiscard]] KeyTextStatus Utf8ToWindows1252(std::span<const unsigned char> text, SecureBytes& bytes);

// Checks the typed text as the typing dialogs do: at most 64 characters as typed, at least 16
// once normalised.
[[nodiscard]] KeyTextStatus CheckTypedKeyLength(std::span<const unsigned char> windows1252);

// Reads the key line from standard input. On a terminal the prompt names the operation
// (`encrypting`) and `typeTwice` asks for the key a second time. `bytes` receives the
// Windows-1252 text as typed.
[[nodiscard]] KeyTextStatus ReadTypedKey(TerminalOutput& output, bool encrypting, bool typeTwice,
                                         SecureBytes& bytes);

// What the user is told for a status other than Read.
[[nodiscard]] QString KeyTextMessage(KeyTextStatus status);

}  // namespace kyv::cli
