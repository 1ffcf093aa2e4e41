#include "platform/FolderReader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kyv::platform {

namespace {

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// What the entry is; a link is what it leads to, except that a link to a folder stays a link. An
// entry that cannot be looked at is neither file nor folder.
FolderReader::Kind LookAt(DIR* folder, const char* name)
{
    struct stat status {};
    if (::fstatat(::dirfd(folder), name, &status, AT_SYMLINK_NOFOLLOW) != 0) return FolderReader::Kind::Other;
    const bool link = S_ISLNK(status.st_mode);
    if (link && ::fstatat(::dirfd(folder), name, &status, 0) != 0) return FolderReader::Kind::Other;
    if (S_ISREG(status.st_mode)) return FolderReader::Kind::File;
    if (S_ISDIR(status.st_mode)) return link ? FolderReader::Kind::LinkToFolder : FolderReader::Kind::Folder;
    return FolderReader::Kind::Other;
}

}  // namespace

FolderReader::FolderReader(const FilePath& folder) : folder_(::opendir(folder.CString()))
{
    if (folder_ == nullptr) error_ = errno;
}

FolderReader::~FolderReader()
{
    if (folder_ != nullptr) ::closedir(folder_);
}

bool FolderReader::Next()
{
    if (folder_ == nullptr || error_ != 0) return false;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder_);
        if (entry == nullptr) {
            error_ = errno;
            return false;
        }
        if (IsDotEntry(entry->d_name)) continue;
        name_ = entry->d_name;
        switch (entry->d_type) {
            case DT_REG:
                kind_ = Kind::File;
                break;
            case DT_DIR:
                kind_ = Kind::Folder;
                break;
            case DT_LNK:
            case DT_UNKNOWN:
                kind_ = LookAt(folder_, name_);
                break;
            default:
                kind_ = Kind::Other;
                break;
        }
        return true;
    }
}

}  // namespace kyv::platform
