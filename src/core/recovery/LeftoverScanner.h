#pragma once
// Finds in one folder what interrupted runs left: the files an in-place run reserves beside an
// original (`NAME1`, `NAME2`, ...), the engine's working files (`OUTPUT.kyvpart-` and 12
// hexadecimal digits), and originals a purge had renamed to 12 hexadecimal digits. Each is paired
// with the file it belongs to and given the action that finishes the interrupted step safely.
//
// Without a key, an encrypted result is recognised by its structure only: the header's version
// and cost, and a length that whole chunks make up. That tells a complete file from one cut short,
// not a sound one from a damaged one. With a key, every chunk is authenticated as well.

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/recovery/Leftover.h"

namespace kyv {

class FileAuthenticator;

// The leftovers of `folder` (not of its subfolders), in name order. `authenticator` may be null.
// On a folder that cannot be read, none, with the reason in `error`.
[[nodiscard]] std::vector<Leftover> ScanForLeftovers(const std::filesystem::path& folder,
                                                     FileAuthenticator* authenticator,
                                                     std::error_code& error);

}  // namespace kyv
