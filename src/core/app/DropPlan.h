#pragma once
// What a list of paths dropped on the main window (or named on the program's command line)
// stands for, before anything in the setup changes.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

#include "platform/FilePath.h"

namespace kyv {

enum class DropShape {
    Nothing,           // no path
    SingleFile,        // one file: what "Single file" sets
    Folder,            // one folder: what "Input folder" sets
    FilesOfOneFolder,  // several files, all directly in one folder
    Missing,           // a path that names nothing
    Mixed,             // folders with files, several folders, or files of several folders
};

struct DropPlan {
    DropShape shape = DropShape::Nothing;
    // The file or the folder; for several files their folder; for Missing the missing path.
    platform::FilePath path;
    // Several files: the extension they share (as the first file writes it, compared without
    // regard to case); empty when they do not all have the same, non-empty, extension.
    QString sharedExtension;
};

// The plan for absolute paths; a folder path may end in a separator or not.
[[nodiscard]] DropPlan PlanDrop(const std::vector<platform::FilePath>& paths);

// The local paths of dropped URLs, each byte of a name as the file system has it; empty when
// any URL is not a local file (a drop from a web page, say), which the window then refuses.
[[nodiscard]] std::vector<platform::FilePath> LocalPathsOf(const QList<QUrl>& urls);

}  // namespace kyv
