#pragma once
// The numbered program texts, loaded once from the program-text file (format: docs/TEXTS.md).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kyv::filelib {

inline constexpr int kMaxTextLength = 1024;    // characters of one text
inline constexpr int kMaxTextFileLines = 500;  // lines of the file, comments included
// Bytes of the file: 500 lines of the longest text fit many times over; anything larger is not a
// program-text file and is refused before it is read.
inline constexpr std::int64_t kMaxTextFileBytes = std::int64_t{4} << 20;

// Why the file could not be loaded, with the numbers the program words (docs/TEXTS.md).
enum class TextLoadError : int {
    NoTextRead = 0,
    CannotOpen = -1,
    TooMuchText = -3,       // more lines, or more bytes, than a program-text file holds
    TextNotRecovered = -4,  // the file is not valid UTF-8
    MalformedLine = -5,
    FileEmpty = -6,
    ReadError = -7,
    NotRegularFile = -9,  // a named pipe, device or socket: never opened for reading
    MissingText = -500,   // the number is -500 - line
    TextTooLong = -1000,  // -1000 - line
    Duplicate = -1500,    // -1500 - line
};

struct [[nodiscard]] TextLoadResult {
    int textCount = 0;  // texts loaded; 0 when the load failed
    std::optional<TextLoadError> error;
    int line = 0;  // the line at fault, for MissingText, TextTooLong and Duplicate

    // The result as one number: the count of texts, or the error's number less the line at fault.
    [[nodiscard]] int Number() const { return error ? static_cast<int>(*error) - line : textCount; }
};

// Loads the file into the program-wide store, replacing what it held. `language` is reserved and
// always 0.
[[nodiscard]] TextLoadResult LoadTexts(const std::filesystem::path& path, int language);

// Text `number` (UTF-8); none when there is no such text.
[[nodiscard]] std::optional<std::string> FetchText(int number, int language);

}  // namespace kyv::filelib
