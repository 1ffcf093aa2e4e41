#include "core/files/FolderListing.h"

#include "core/files/FileSpecMatch.h"
#include "core/files/FolderEnumerator.h"

namespace kyv {

std::optional<FolderListing> ListFolder(const QString& folder, const QString& fileSpec, QString& errorText)
{
    errorText.clear();
    FolderEnumerator entries(folder);
    FolderListing listing;
    while (entries.Next()) {
        switch (entries.Kind()) {
            case FolderEnumerator::EntryKind::File: {
                const QString name = entries.Name();
                listing.files.append(name);
                if (MatchesFileSpec(name, fileSpec, false)) listing.matchingFiles.append(name);
                break;
            }
            case FolderEnumerator::EntryKind::Folder:
                listing.subfolders.append(entries.Name());
                break;
            case FolderEnumerator::EntryKind::LinkToFolder:
                listing.linkedFolders.append(entries.Name());
                break;
            case FolderEnumerator::EntryKind::Other:
                break;
        }
    }
    if (entries.Failed()) {
        errorText = entries.ErrorText();
        return std::nullopt;
    }
    return listing;
}

}  // namespace kyv
