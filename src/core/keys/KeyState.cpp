#include "core/keys/KeyState.h"

#include <QByteArray>

namespace kyv {

KeyState::KeyState() : strKey(static_cast<std::size_t>(kMaxKeyLength)) {}

QString KeyState::KeyfilePath() const
{
    return QString::fromUtf8(reinterpret_cast<const char*>(strKeyfilePath.data()),
                             static_cast<qsizetype>(strKeyfilePath.size()));
}

void KeyState::SetKeyfilePath(const QString& path)
{
    QByteArray utf8 = path.toUtf8();
    strKeyfilePath.Assign(
        {reinterpret_cast<const unsigned char*>(utf8.constData()), static_cast<std::size_t>(utf8.size())});
    utf8.fill('\0');
}

void EraseKeyData(KeyState& keyState)
{
    keyState.strKey.Wipe();
    keyState.strKeyDigest.Wipe();
    keyState.strKeyBytes.Wipe();
    keyState.strKeyfilePath.Wipe();
    // The last normalised text is the typed key itself; it goes too.
    keyState.strLastKeyText.Wipe();
}

}  // namespace kyv
