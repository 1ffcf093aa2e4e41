#pragma once
// Reading a key from an existing keyfile, apart from any window: the first 64 bytes of the file,
// the suitability rule, the repair of interior zero bytes and the classification of the bytes.
// The key panel's "Get key from keyfile" and the command-line tool both read keyfiles through here.

#include <QString>
#include <span>

#include "core/keys/KeyState.h"
#include "core/keys/SecureBytes.h"
#include "platform/FilePath.h"

namespace kyv {

class Prompter;

// Bytes of a keyfile that make the key; the rest of the file never takes part.
inline constexpr std::size_t kKeyfileKeyBytes = 64;
// A measure of the key bytes at least this high counts as random.
inline constexpr double kMinKeyRandomness = 0.88;

// What may serve as a keyfile. A key must be one that can be had again: a device such as
// /dev/urandom gives another each time, so only a regular file is a keyfile; the command line may
// also name a pipe (`--key-file <(secret-tool ...)`), which is read once, deliberately.
enum class KeyfileKinds {
    RegularFileOnly,
    RegularFileOrPipe,
};

// Reads the first kKeyfileKeyBytes bytes of `path` into `keyBytes`, which then holds exactly that
// many bytes: a shorter file leaves zero bytes after its end. Nothing else of the file is read and
// no copy of the bytes is kept outside `keyBytes`. False with the system's description in
// `errorText` when the file cannot be opened or read, or is not of `kinds`.
[[nodiscard]] bool ReadKeyfileBytes(const platform::FilePath& path, SecureBytes& keyBytes, QString& errorText,
                                    KeyfileKinds kinds = KeyfileKinds::RegularFileOnly);

// Whether the bytes give a key: at least KeyState::kMinKeyLength of them are above code 32.
[[nodiscard]] bool KeyfileBytesSuitable(std::span<const unsigned char> keyBytes);

// Every zero byte before the last non-zero byte becomes 128 minus its position (counted from 1),
// so the zeros inside a binary file still add to the key; the zero fill after the end of a short
// file stays and normalisation drops it.
void RepairZeroBytes(SecureBytes& keyBytes);

// Whether the bytes measure as random (the file library's measure, both counts the byte count).
[[nodiscard]] bool KeyIsRandom(std::span<const unsigned char> keyBytes);

struct KeyBytesClass {
    bool text = false;
    bool apparentlyRandom = false;  // never set for text
};
[[nodiscard]] KeyBytesClass ClassifyKeyBytes(std::span<const unsigned char> keyBytes);

// "/home/ann/notes.txt is not a suitable keyfile."
[[nodiscard]] QString UnsuitableKeyfileMessage(const platform::FilePath& path);

enum class KeyfileReadOutcome {
    Read,        // rawKeyBytes and the classification flags are set
    Unsuitable,  // the user has been told; no key
    Failed,      // the file could not be read; the user has been told; no key
};

// The reading half of "Get key from keyfile" for the file at `path` (the chosen path after
// NormalizePathCase): records the path, reads, checks suitability, repairs and classifies into
// `keyState` (rawKeyBytes, isText, apparentlyRandom; newRandomKey cleared). A refusal or failure
// is told through `prompter` and leaves the key not specified. The key itself is installed by
// InstallKeyfileKey, so that the program can offer its inspection in between.
[[nodiscard]] KeyfileReadOutcome ReadKeyfile(KeyState& keyState, const platform::FilePath& path,
                                             Prompter& prompter,
                                             KeyfileKinds kinds = KeyfileKinds::RegularFileOnly);

// Makes the key bytes read from the keyfile the current key: normalised, with its checksum, and
// the keyfile as its source.
void InstallKeyfileKey(KeyState& keyState);

}  // namespace kyv
