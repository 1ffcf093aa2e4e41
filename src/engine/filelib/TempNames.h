#pragma once

#include <filesystem>
#include <string>

namespace kyv::filelib {

// The smallest n >= 1 such that `pathPrefix` followed by the decimal digits of n names no existing
// file; 0 when none can be found.
[[nodiscard]] long NewFilepathExtension(const std::string& pathPrefix);

// 1 when a new file of that name can be created in its folder; any other value when it cannot.
[[nodiscard]] int NewFileCreatable(const std::filesystem::path& path);

}  // namespace kyv::filelib
