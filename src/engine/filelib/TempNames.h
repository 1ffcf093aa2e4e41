#pragma once

#include <filesystem>
#include <string>

namespace kyv::filelib {

// Largest number tried after a path prefix before the search gives up.
inline constexpr long kLargestFilepathExtension = 999999;

// The smallest n >= 1 such that `pathPrefix` followed by the decimal digits of n names no existing
// file; 0 when none can be found (none up to kLargestFilepathExtension, an empty prefix, or a folder
// that cannot be searched). Only a look: another program may take the name before it is used.
[[nodiscard]] long NewFilepathExtension(const std::string& pathPrefix);

// As NewFilepathExtension, and race-safe: creates the file `pathPrefix` followed by n, empty, with
// exclusive creation, so that the name is ours once the call returns n. 0 when none could be created.
[[nodiscard]] long CreateNewFilepathExtension(const std::string& pathPrefix);

// 1 when a new file of that name can be created in its folder (tried by creating it and removing it
// again); 0 when a file of that name exists already; -1 when it cannot be created; -2 when the trial
// file could not be removed again.
[[nodiscard]] int NewFileCreatable(const std::filesystem::path& path);

}  // namespace kyv::filelib
