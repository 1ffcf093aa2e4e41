#include "core/files/FolderEnumerator.h"

#include <system_error>

#include "core/files/FolderPath.h"

namespace kyv {

FolderEnumerator::FolderEnumerator(const QString& folder) : reader_(ToFileSystemPath(folder)) {}

QString FolderEnumerator::Name() const { return FromFileSystemName(reader_.Name()); }

QString FolderEnumerator::ErrorText() const
{
    return QString::fromStdString(std::error_code(reader_.Error(), std::system_category()).message());
}

}  // namespace kyv
