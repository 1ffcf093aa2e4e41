#pragma once
// Writing a created random key into its keyfile. The keyfile is then the only copy of a key that
// may lock many files, so it is owner-only and on the device before the key is used.

#include <QString>
#include <span>

#include "platform/FilePath.h"

namespace kyv {

// Writes `key` at offset 0 of `path` (created when missing; bytes after the key in an existing
// longer file stay as they were), makes the file readable and writable by its owner only, flushes
// the file and its folder to the device and reads the key back. False with the system's
// description in `errorText` when any step fails; the key must then not be installed.
[[nodiscard]] bool WriteRandomKeyfile(const platform::FilePath& path, std::span<const unsigned char> key,
                                      QString& errorText);

}  // namespace kyv
