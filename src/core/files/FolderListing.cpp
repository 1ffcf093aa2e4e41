#include "core/files/FolderListing.h"

#include "core/files/FileSpecMatch.h"
#include "core/files/FolderEnumerator.h"

namespace kyv {

namespace {
// Whether the file specification would take the entry if its name were a plain one: "*" and "?"
// in the name then count as ordinary characters.
bool AskedFor(const QString& name, const QString& fileSpec)
{
    QString plain = name;
    plain.replace(u'*', u'_').replace(u'?', u'_');
    return MatchesFileSpec(plain, fileSpec, false);
}
}  // namespace

std::optional<FolderListing> ListFolder(const platform::FilePath& folder, const QString& fileSpec,
                                        QString& errorText)
{
    errorText.clear();
    FolderEnumerator entries(folder);
    FolderListing listing;
    while (entries.Next()) {
        switch (entries.Kind()) {
            case FolderEnumerator::EntryKind::File: {
                const QString name = entries.Name();
                listing.files.append(name);
                if (MatchesFileSpec(name, fileSpec, false))
                    listing.matchingFiles.append(name);
                else if (!IsPlainFileName(name) && AskedFor(name, fileSpec))
                    listing.leftOut.push_back({name, LeftOutEntry::Reason::WildcardInName});
                break;
            }
            case FolderEnumerator::EntryKind::Folder:
                listing.subfolders.append(entries.Name());
                break;
            case FolderEnumerator::EntryKind::LinkToFolder:
                listing.linkedFolders.append(entries.Name());
                break;
            case FolderEnumerator::EntryKind::Other: {
                const QString name = entries.Name();
                if (AskedFor(name, fileSpec))
                    listing.leftOut.push_back({name, LeftOutEntry::Reason::NotARegularFile});
                break;
            }
        }
    }
    if (entries.Failed()) {
        errorText = entries.ErrorText();
        return std::nullopt;
    }
    return listing;
}

}  // namespace kyv
