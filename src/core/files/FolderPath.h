#pragma once
// Folder paths as the walks and counts use them: text with the native separator, a folder ending
// in exactly one separator.

#include <QString>
#include <filesystem>

namespace kyv {

// A non-empty path loses all trailing separators and gets exactly one ("/data//" -> "/data/",
// "/" stays "/"); an empty path stays empty.
[[nodiscard]] QString AddBackslash(const QString& path);

// For a path with a drive letter ("c:\Data\Report.DOC"): the letter upper-cased and the rest
// lower-cased by LowerCaseText. Any other path, every path on this platform included, is returned
// unchanged.
[[nodiscard]] QString NormalizePathCase(const QString& path);

// Conversions between the program's path text and the file system's own bytes, reversible for
// every name: UTF-8 is decoded, and each byte that is not part of valid UTF-8 becomes one of the
// lone surrogates U+DC80 to U+DCFF, which go back to that byte. So a name that is not UTF-8 can be
// opened, renamed and removed like any other, and no two names come out as the same text.
[[nodiscard]] std::filesystem::path ToFileSystemPath(const QString& path);
[[nodiscard]] QString FromFileSystemName(const char* name);
[[nodiscard]] QString FromFileSystemPath(const std::filesystem::path& path);

// A name or path as people read it: each byte that was not UTF-8 shown as \xNN.
[[nodiscard]] QString DisplayName(const QString& name);

// A name or path as Qt's own file classes decode it: each byte that is not UTF-8 becomes U+FFFD.
// Lossy, so only for handing a path to Qt where no exact name is needed.
[[nodiscard]] QString QtDecodedName(const QString& name);

// The index of the first byte that was not UTF-8, or -1 when the text is all UTF-8.
[[nodiscard]] qsizetype FirstEscapedByte(const QString& name);

}  // namespace kyv
