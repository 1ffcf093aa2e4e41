#include "core/files/FolderEnumerator.h"

#include <system_error>

namespace kyv {

FolderEnumerator::FolderEnumerator(const platform::FilePath& folder) : reader_(folder) {}

QString FolderEnumerator::ErrorText() const
{
    return QString::fromStdString(std::error_code(reader_.Error(), std::system_category()).message());
}

}  // namespace kyv
