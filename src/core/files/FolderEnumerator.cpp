#include "core/files/FolderEnumerator.h"

#include <system_error>

#include "core/files/FolderPath.h"

namespace kyv {

FolderEnumerator::FolderEnumerator(const QString& folder) : m_reader(ToFileSystemPath(folder)) {}

QString FolderEnumerator::Name() const { return FromFileSystemName(m_reader.Name()); }

QString FolderEnumerator::ErrorText() const
{
    return QString::fromStdString(std::error_code(m_reader.Error(), std::system_category()).message());
}

}  // namespace kyv
