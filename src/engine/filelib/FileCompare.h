#pragma once

#include <cstdint>
#include <filesystem>

namespace kyv::filelib {

inline constexpr std::int64_t kFilesIdentical = -1;

// -1 when the files are identical; otherwise the position (from 0) of the first difference, or an
// error: -11/-12 first/second cannot be opened, -21/-22 cannot be read, -31/-32 is empty.
// Files of different length that agree as far as the shorter goes differ at the shorter's length.
// A folder, device or pipe counts as a file that cannot be opened; a file that shrinks while it is
// compared gives its read error.
[[nodiscard]] std::int64_t CompareFiles(const std::filesystem::path& first,
                                        const std::filesystem::path& second);

}  // namespace kyv::filelib
