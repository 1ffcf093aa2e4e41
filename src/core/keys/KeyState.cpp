#include "core/keys/KeyState.h"

#include <QByteArray>

namespace kyv {

KeyState::KeyState() : normalizedKey(static_cast<std::size_t>(kMaxKeyLength)) {}

QString KeyState::KeyfilePath() const
{
    return QString::fromUtf8(reinterpret_cast<const char*>(keyfilePath.data()),
                             static_cast<qsizetype>(keyfilePath.size()));
}

void KeyState::SetKeyfilePath(const QString& path)
{
    QByteArray utf8 = path.toUtf8();
    keyfilePath.Assign(
        {reinterpret_cast<const unsigned char*>(utf8.constData()), static_cast<std::size_t>(utf8.size())});
    utf8.fill('\0');
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
