#include "core/files/FolderCount.h"

#include "core/files/FileSpecMatch.h"
#include "core/files/FolderEnumerator.h"
#include "core/files/FolderPath.h"

namespace kyv {

int CountMatchingFiles(const FilePath& folder, const QString& fileSpec, QString& errorText, int stopAt)
{
    errorText.clear();
    FolderEnumerator entries{folder};
    int count = 0;
    while (count < stopAt && entries.Next()) {
        if (entries.Kind() != FolderEnumerator::EntryKind::File) continue;
        if (MatchesFileSpec(entries.Name(), fileSpec, false)) ++count;
    }
    if (entries.Failed()) {
        errorText = entries.ErrorText();
        return -1;
    }
    return count;
}

int CountSubfolders(const FilePath& folder, QString& errorText, int stopAt)
{
    errorText.clear();
    FolderEnumerator entries{folder.AsFolder()};
    int count = 0;
    while (count < stopAt && entries.Next()) {
        // Links to folders count as the user sees them, though a walk names them without entering.
        const FolderEnumerator::EntryKind kind = entries.Kind();
        if (kind == FolderEnumerator::EntryKind::Folder || kind == FolderEnumerator::EntryKind::LinkToFolder)
            ++count;
    }
    if (entries.Failed()) {
        errorText = QStringLiteral("Error: ") + entries.ErrorText();
        return -1;
    }
    return count;
}

}  // namespace kyv
