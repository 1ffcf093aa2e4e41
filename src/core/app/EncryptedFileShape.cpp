#include "core/app/EncryptedFileShape.h"

#include <fstream>
#include <system_error>

#include "engine/cipher/FileFormat.h"

namespace kyv {

bool HasEncryptedFileShape(const platform::FilePath& file)
{
    namespace format = cipher::format;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || !format::PlaintextLengthFor(size)) return false;

    std::ifstream stream(file.System(), std::ios::binary);
    format::Header header{};
    if (!stream.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size())))
        return false;
    return header[format::kVersionOffset] == format::kVersion &&
           format::CostIsValid(header[format::kOpsLimitOffset], header[format::kMemLimitOffset]);
}

}  // namespace kyv
