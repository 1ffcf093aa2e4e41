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

// Conversions between the program's path text and the file system's own encoding of names.
[[nodiscard]] std::filesystem::path ToFileSystemPath(const QString& path);
[[nodiscard]] QString FromFileSystemName(const char* name);
[[nodiscard]] QString FromFileSystemPath(const std::filesystem::path& path);

}  // namespace kyv
