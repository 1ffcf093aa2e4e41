#include "core/common/DirectionWord.h"

#include <QStringList>

namespace kyv {

QString DirectionWord(bool encrypting, const QString& word)
{
    static const QStringList kWords = {"Encrypt",   "encrypt",   "Encryption", "encryption",
                                       "Encrypted", "encrypted", "Encrypting", "encrypting"};
    if (!kWords.contains(word)) return QString();
    if (encrypting) return word;
    QString decrypted = word;
    decrypted.replace(0, 7,
                      word.at(0) == QLatin1Char('E') ? QStringLiteral("Decrypt") : QStringLiteral("decrypt"));
    return decrypted;
}

}  // namespace kyv
