#pragma once

#include <QString>

namespace kyv {

// The operation's word: while encrypting each of "Encrypt", "encrypt", "Encryption",
// "encryption", "Encrypted", "encrypted", "Encrypting", "encrypting" comes back unchanged; while
// decrypting the same word with "Decrypt"/"decrypt" in place of "Encrypt"/"encrypt". Any other
// word gives an empty string.
QString DirectionWord(bool encrypting, const QString& word);

}  // namespace kyv
