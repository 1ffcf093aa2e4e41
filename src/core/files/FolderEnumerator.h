#pragma once
// Goes through the entries of one folder in the order the file system lists them, nothing sorted
// and no attribute looked at (hidden files are entries like any other).

#include <QString>

#include "platform/FilePath.h"
#include "platform/FolderReader.h"

namespace kyv {

class FolderEnumerator {
public:
    using EntryKind = platform::FolderReader::Kind;

    // Opens the folder; Failed() tells whether that worked.
    explicit FolderEnumerator(const platform::FilePath& folder);

    // Moves to the next entry; false at the end of the folder or when reading fails.
    [[nodiscard]] bool Next() { return reader_.Next(); }
    [[nodiscard]] EntryKind Kind() const { return reader_.EntryKind(); }
    // The current entry's name (not its path), as the program's text.
    [[nodiscard]] QString Name() const { return reader_.Name().Text(); }

    [[nodiscard]] bool Failed() const { return reader_.Error() != 0; }
    // The system's description of the failure ("Permission denied").
    [[nodiscard]] QString ErrorText() const;

private:
    platform::FolderReader reader_;
};

}  // namespace kyv
