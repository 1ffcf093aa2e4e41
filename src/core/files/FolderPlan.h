#pragma once
// What a walk finds in one folder before it touches any file there: the matching files, the names
// their outputs get, whether those names collide, and the folders below. An operation, the size
// estimate, the randomness listing and the reliability test all work from these plans.

#include <QString>
#include <QStringList>
#include <vector>

#include "core/files/FolderListing.h"
#include "platform/FilePath.h"

namespace kyv {

struct FolderPlan {
    platform::FilePath inputFolder;   // ends in one separator
    platform::FilePath outputFolder;  // ends in one separator; the input folder in lower folders
    bool sameFolder = false;  // input and output are one folder, by name or by what it is
    // The matching files in the order the file system lists them, and their outputs' names (the
    // same names for in-place work).
    QStringList inputNames;
    QStringList outputNames;
    // Two files would get the same output name, or one's output would replace another input file
    // of the folder: nothing of the folder may be processed.
    bool outputNamesCollide = false;
    QStringList files;          // every file of the folder, the matching ones among them
    QStringList subfolders;     // names of the immediate subfolders
    QStringList linkedFolders;  // names of links to folders: never followed
    // Entries the file specification asks for that no run can take (see FolderListing).
    std::vector<LeftOutEntry> leftOut;
};

}  // namespace kyv
