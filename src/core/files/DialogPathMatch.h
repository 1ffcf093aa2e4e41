#pragma once
// Qt's file dialogs decode names lossily: every byte that is not UTF-8 comes back as U+FFFD, so
// the path they return may name nothing, or another file. This finds the name the file system
// really holds.

#include <QString>
#include <optional>

namespace kyv {

struct DialogPathMatch {
    // The path with every name as the file system holds it (see FolderPath.h); nothing when
    // several names fit.
    std::optional<QString> path;
    // When several names fit: the folder that holds them.
    QString ambiguousFolder;
};

// Walks `dialogPath` from its start; each name with U+FFFD in it is replaced by the one entry of
// its folder whose bytes Qt would decode to it. A name no entry fits is kept as given, so that
// opening it fails as for any missing file.
[[nodiscard]] DialogPathMatch MatchDialogPath(const QString& dialogPath);

}  // namespace kyv
