#include "platform/FolderReader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kyv::platform {

namespace {

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// What the entry is, following a link; an entry that cannot be looked at is neither file nor folder.
FolderReader::Kind LookAt(DIR* folder, const char* name)
{
    struct stat status {};
    if (::fstatat(::dirfd(folder), name, &status, 0) != 0) return FolderReader::Kind::Other;
    if (S_ISREG(status.st_mode)) return FolderReader::Kind::File;
    if (S_ISDIR(status.st_mode)) return FolderReader::Kind::Folder;
    return FolderReader::Kind::Other;
}

}  // namespace

FolderReader::FolderReader(const std::filesystem::path& folder) : m_folder(::opendir(folder.c_str()))
{
    if (m_folder == nullptr) m_error = errno;
}

FolderReader::~FolderReader()
{
    if (m_folder != nullptr) ::closedir(m_folder);
}

bool FolderReader::Next()
{
    if (m_folder == nullptr || m_error != 0) return false;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(m_folder);
        if (entry == nullptr) {
            m_error = errno;
            return false;
        }
        if (IsDotEntry(entry->d_name)) continue;
        m_name = entry->d_name;
        switch (entry->d_type) {
            case DT_REG:
                m_kind = Kind::File;
                break;
            case DT_DIR:
                m_kind = Kind::Folder;
                break;
            case DT_LNK:
            case DT_UNKNOWN:
                m_kind = LookAt(m_folder, m_name);
                break;
            default:
                m_kind = Kind::Other;
                break;
        }
        return true;
    }
}

}  // namespace kyv::platform
