#pragma once
// Splitting a chosen file's path, and telling a file specification from a plain name.

#include <QString>

namespace kyv {

// The path up to and including its last separator; empty when it has none.
[[nodiscard]] QString GetFolderPart(const QString& path);
// What follows the last separator; empty when the path has none.
[[nodiscard]] QString GetFileNamePart(const QString& path);

// Whether the text holds "?" or "*".
[[nodiscard]] bool ContainsWildcard(const QString& text);

}  // namespace kyv
