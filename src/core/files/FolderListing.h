#pragma once
// One reading of a folder for a walk: its files and subfolders in the order the file system lists
// them. A walk takes this listing before it touches any file, so files it creates in the folder
// are never taken as input.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/FilePath.h"

namespace kyv {

// An entry the file specification asks for that a run leaves as it is, and why.
struct LeftOutEntry {
    enum class Reason {
        WildcardInName,  // its name holds "*" or "?", which no specification matches
        NotARegularFile  // a fifo, socket, device, or a link to one or to nothing
    };
    QString name;
    Reason reason = Reason::NotARegularFile;

    friend bool operator==(const LeftOutEntry&, const LeftOutEntry&) = default;
};

struct FolderListing {
    QStringList files;          // every file of the folder
    QStringList matchingFiles;  // the files whose names satisfy the file specification
    QStringList subfolders;     // names of the immediate subfolders
    QStringList linkedFolders;  // names of links to folders: never followed
    // The entries that would satisfy the file specification, but are no files a run can take.
    std::vector<LeftOutEntry> leftOut;
};

// Reads `folder` once. On failure returns nothing and puts the system's description in `errorText`.
[[nodiscard]] std::optional<FolderListing> ListFolder(const platform::FilePath& folder,
                                                      const QString& fileSpec, QString& errorText);

}  // namespace kyv
