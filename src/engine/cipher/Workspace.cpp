#include "engine/cipher/Workspace.h"

#include <sodium.h>

#include "engine/cipher/FileFormat.h"

namespace kyv::cipher {

std::optional<Workspace> Workspace::Open()
{
    if (sodium_init() < 0) return std::nullopt;
    SecretBuffer fileKey(format::kKeySize);
    if (!fileKey.Valid()) return std::nullopt;
    return Workspace(std::move(fileKey));
}

}  // namespace kyv::cipher
