#include "core/keys/KeyState.h"

#include <algorithm>
#include <string>

#include "core/files/FolderPath.h"

namespace kyv {

KeyState::KeyState() : normalizedKey(static_cast<std::size_t>(kMaxKeyLength)) {}

// Kept as the file system's bytes, so that a name that is not UTF-8 still names the keyfile.
QString KeyState::KeyfilePath() const
{
    // Read where the bytes are kept: no copy of them outside the guarded memory.
    return platform::FilePath::TextOf(
        {reinterpret_cast<const char*>(keyfilePath.data()), keyfilePath.size()});
}

void KeyState::SetKeyfilePath(const QString& path)
{
    std::string bytes = platform::FilePath(path).Bytes();
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
