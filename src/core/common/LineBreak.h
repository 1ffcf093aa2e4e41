#pragma once
// The line break of the report and of the texts written for the user: CR LF on every platform, so
// that a saved or copied report reads the same everywhere.

#include <QString>

namespace kyv {

inline const QString kLineBreak = QStringLiteral("\r\n");

}  // namespace kyv
