#include "core/files/FolderEnumerator.h"

#include "core/files/FolderPath.h"

namespace kyv {

namespace fs = std::filesystem;

namespace {
FolderEnumerator::EntryKind KindOf(const fs::directory_entry& entry)
{
    // The type comes from the listing itself; only links cost a look at their target. A target
    // that cannot be examined makes the entry neither a file nor a folder.
    std::error_code ignored;
    if (entry.is_regular_file(ignored)) return FolderEnumerator::EntryKind::File;
    if (entry.is_directory(ignored)) return FolderEnumerator::EntryKind::Folder;
    return FolderEnumerator::EntryKind::Other;
}
}  // namespace

FolderEnumerator::FolderEnumerator(const QString& folder)
    : m_iterator(ToFileSystemPath(folder), fs::directory_options::none, m_error)
{
}

bool FolderEnumerator::Next()
{
    if (m_error) return false;
    if (m_started) m_iterator.increment(m_error);
    m_started = true;
    if (m_error || m_iterator == fs::directory_iterator()) return false;
    m_kind = KindOf(*m_iterator);
    return true;
}

QString FolderEnumerator::Name() const { return FromFileSystemName(m_iterator->path().filename()); }

QString FolderEnumerator::ErrorText() const { return QString::fromStdString(m_error.message()); }

}  // namespace kyv
