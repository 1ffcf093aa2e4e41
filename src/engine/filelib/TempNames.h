#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kyv::filelib {

// Largest number tried after a path prefix before the search gives up.
inline constexpr long kLargestFilepathExtension = 999999;

// The smallest n >= 1 such that `pathPrefix` followed by the decimal digits of n names no existing
// file; none when none can be found (none up to kLargestFilepathExtension, an empty prefix, or a
// folder that cannot be searched). Only a look: another program may take the name before it is used.
[[nodiscard]] std::optional<long> NewFilepathExtension(const std::string& pathPrefix);

// As NewFilepathExtension, and race-safe: creates the file `pathPrefix` followed by n, empty, with
// exclusive creation, so that the name is ours once the call returns n. None when none could be created.
[[nodiscard]] std::optional<long> CreateNewFilepathExtension(const std::string& pathPrefix);

// What NewFileCreatable found, with the numbers callers have always been given.
enum class [[nodiscard]] NewFileCheck : int{
    Creatable = 1,  // created and removed again
    Exists = 0,     // a file of that name exists already
    CannotCreate = -1,
    TrialFileNotRemoved = -2,  // created, but the trial file could not be removed again
};

// Whether a new file of that name can be created in its folder (tried by creating it and removing
// it again).
[[nodiscard]] NewFileCheck NewFileCreatable(const std::filesystem::path& path);

}  // namespace kyv::filelib
