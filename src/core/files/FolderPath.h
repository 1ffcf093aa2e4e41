#pragma once
// Folder paths as the walks and counts use them: text with the native separator, a folder ending
// in exactly one separator.

#include <QString>
#include <filesystem>

#include "platform/FilePath.h"

namespace kyv {

// A non-empty path loses all trailing separators and gets exactly one ("/data//" -> "/data/",
// "/" stays "/"); an empty path stays empty.
[[nodiscard]] QString AddBackslash(const QString& path);

// For a path with a drive letter ("c:\Data\Report.DOC"): the letter upper-cased and the rest
// lower-cased by LowerCaseText. Any other path, every path on this platform included, is returned
// unchanged.
[[nodiscard]] QString NormalizePathCase(const QString& path);

// The file system's bytes of the program's path text and back; see FilePath, which the program's
// functions take.
[[nodiscard]] std::filesystem::path ToFileSystemPath(const QString& path);
[[nodiscard]] QString FromFileSystemName(const char* name);
[[nodiscard]] QString FromFileSystemPath(const std::filesystem::path& path);

using platform::DisplayName;
using platform::FilePath;
using platform::FirstEscapedByte;

// A name or path as Qt's own file classes decode it: each byte that is not UTF-8 becomes U+FFFD.
// Lossy, so only for handing a path to Qt where no exact name is needed.
[[nodiscard]] QString QtDecodedName(const QString& name);

}  // namespace kyv
