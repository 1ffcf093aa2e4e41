#include "core/keys/KeyState.h"

#include <algorithm>
#include <string>

#include "core/files/FolderPath.h"

namespace kyv {

KeyState::KeyState() : normalizedKey(static_cast<std::size_t>(kMaxKeyLength)) {}

// Kept as the file system's bytes, so that a name that is not UTF-8 still names the keyfile.
QString KeyState::KeyfilePath() const
{
    std::string bytes(reinterpret_cast<const char*>(keyfilePath.data()), keyfilePath.size());
    const QString path = FromFileSystemName(bytes.c_str());
    std::fill(bytes.begin(), bytes.end(), '\0');
    return path;
}

void KeyState::SetKeyfilePath(const QString& path)
{
    std::string bytes = ToFileSystemPath(path).native();
    keyfilePath.Assign({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
    std::fill(bytes.begin(), bytes.end(), '\0');
}

void EraseKeyData(KeyState& keyState)
{
    keyState.normalizedKey.Wipe();
    keyState.digest.Wipe();
    keyState.rawKeyBytes.Wipe();
    keyState.keyfilePath.Wipe();
    // The last normalised text is the typed key itself; it goes too.
    keyState.lastKeyText.Wipe();
}

}  // namespace kyv
