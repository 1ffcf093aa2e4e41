#pragma once
// Text helpers for file names and file specifications.

#include <QString>
#include <QStringView>

namespace kyv {

// Lower-cases a name the way every name comparison of the program does. Text holding one of the
// accented letters of Western European names is folded through a fixed capital-to-small table, so
// that "É" and "é" compare equal whatever the platform's case rules; any other text gets the
// platform's ordinary lower-casing.
[[nodiscard]] QString LowerCaseText(const QString& text);

// Deletes from `text` every character that occurs in `characters`.
void RemoveChars(QString& text, QStringView characters);

// The text without leading and trailing spaces (only the space character; tabs stay).
[[nodiscard]] QString TrimSpaces(const QString& text);

// A name or file specification split at its last ".": "archive.tar.gz" has the base
// "archive.tar" and the extension "gz"; ".profile" an empty base; "README" no dot at all.
struct BaseAndExtension {
    QString base;
    QString extension;
    bool hasDot = false;
};
[[nodiscard]] BaseAndExtension SplitBaseExtension(const QString& name);

}  // namespace kyv
