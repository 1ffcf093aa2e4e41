#pragma once
// Reads the entries of one folder in the order the file system lists them, "." and ".." left
// out: each entry's name in the file system's own encoding and what it is. The kind comes from
// the listing itself; only links, and file systems that do not say, cost a look at the entry.

#include <dirent.h>

#include "platform/FilePath.h"

namespace kyv::platform {

class FolderReader {
public:
    enum class Kind {
        File,          // a regular file, or a link to one
        Folder,        // a folder (a link to one is not)
        LinkToFolder,  // a symbolic link to a folder: walks never follow it
        Other          // fifos, sockets, devices, dangling links
    };

    explicit FolderReader(const FilePath& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Moves to the next entry; false at the end of the folder or when opening or reading failed.
    [[nodiscard]] bool Next();
    // The current entry's name.
    [[nodiscard]] FilePath Name() const { return FilePath(name_); }
    [[nodiscard]] Kind EntryKind() const { return kind_; }
    // The system's error number of a failed open or read; 0 when there was none.
    [[nodiscard]] int Error() const { return error_; }

private:
    DIR* folder_ = nullptr;
    const char* name_ = "";
    Kind kind_ = Kind::Other;
    int error_ = 0;
};

}  // namespace kyv::platform
