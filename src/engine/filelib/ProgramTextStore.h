#pragma once
// The numbered program texts, loaded once from the program-text file (format: docs/TEXTS.md).

#include <filesystem>
#include <string>

namespace kyv::filelib {

inline constexpr int kMaxTextLength = 1024;   // characters of one text
inline constexpr int kMaxTextFileLines = 500;  // lines of the file, comments included

// Load results below 1 (the program words each one).
enum TextLoadResult : int {
    kNoTextRead = 0,
    kCannotOpen = -1,
    kTooMuchText = -3,
    kTextNotRecovered = -4,  // the file is not valid UTF-8
    kMalformedLine = -5,
    kFileEmpty = -6,
    kReadError = -7,
    kMissingTextBase = -500,   // -500 - line
    kTextTooLongBase = -1000,  // -1000 - line
    kDuplicateBase = -1500,    // -1500 - line
};

// Loads the file into the program-wide store, replacing what it held. Returns the number of
// texts loaded, or one of the results above. `language` is reserved and always 0.
[[nodiscard]] int LoadTexts(const std::filesystem::path& path, int language);

// Text `number` (UTF-8) into `text`; returns its length in characters, 0 when there is none.
int FetchText(int number, int language, std::string& text);

}  // namespace kyv::filelib
