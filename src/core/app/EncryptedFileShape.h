#pragma once
// Whether a file looks like one of this program's encrypted files, told without a key.

#include "platform/FilePath.h"

namespace kyv {

// True when the file's first bytes form the format's header (its version and a valid key
// derivation cost) and its length is one that whole chunks make up. Only the key can tell a sound
// encrypted file from a damaged one, or from another file that happens to look the same.
[[nodiscard]] bool HasEncryptedFileShape(const platform::FilePath& file);

}  // namespace kyv
