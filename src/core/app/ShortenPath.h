#pragma once
// Paths too long for a status line: some middle folders are replaced by "...".

#include <QString>

class QRandomGenerator;

namespace kyv {

// A display form of `path` no longer than `maximum` characters (a maximum below 5 returns the path
// unchanged). Folders between the first component (the root or drive) and the last are replaced
// by "..." in random order until the path fits; a path that still does not fit is cut and ends in
// "...". The choice is random so that repeated displays show different parts of a long path.
[[nodiscard]] QString ShortenPath(const QString& path, int maximum);
[[nodiscard]] QString ShortenPath(const QString& path, int maximum, QRandomGenerator& random);

}  // namespace kyv
