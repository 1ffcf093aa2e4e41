#include "core/keys/KeyState.h"

#include <filesystem>
#include <string>

namespace kyv {

KeyState::KeyState() : normalizedKey(static_cast<std::size_t>(kMaxKeyLength)) {}

// Kept as the file system's bytes, so that a name that is not UTF-8 still names the keyfile.
platform::FilePath KeyState::KeyfilePath() const
{
    // Read where the bytes are kept, with no copy of them on the way.
    const auto* bytes = reinterpret_cast<const char*>(keyfilePath.data());
    return std::filesystem::path(bytes, bytes + keyfilePath.size());
}

void KeyState::SetKeyfilePath(const platform::FilePath& path)
{
    const std::string& bytes = path.Bytes();
    keyfilePath.Assign({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
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
