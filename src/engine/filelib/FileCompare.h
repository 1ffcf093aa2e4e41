#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace kyv::filelib {

// Why two files could not be compared, with the numbers the comparison has always reported.
enum class CompareError : int {
    FirstCannotBeOpened = -11,
    SecondCannotBeOpened = -12,
    FirstCannotBeRead = -21,
    SecondCannotBeRead = -22,
    FirstEmpty = -31,
    SecondEmpty = -32,
};

// What CompareFiles found: an error, or else the position (from 0) of the first difference, none
// when the files are identical.
struct [[nodiscard]] FileComparison {
    std::optional<CompareError> error;
    std::optional<std::int64_t> firstDifference;

    [[nodiscard]] bool Identical() const { return !error && !firstDifference; }
    // The comparison as one number: -1 when identical, the first difference, or the error's number.
    [[nodiscard]] std::int64_t Number() const
    {
        if (error) return static_cast<std::int64_t>(*error);
        return firstDifference.value_or(-1);
    }
    bool operator==(const FileComparison&) const = default;
};

// Compares two files byte by byte. Files of different length that agree as far as the shorter
// goes differ at the shorter's length. A folder, device or pipe counts as a file that cannot be
// opened; a file that shrinks while it is compared gives its read error.
[[nodiscard]] FileComparison CompareFiles(const std::filesystem::path& first,
                                          const std::filesystem::path& second);

}  // namespace kyv::filelib
