#pragma once
// The one current key of the program, with where it came from and what is known about it.

#include <QString>

#include "core/keys/KeySource.h"
#include "core/keys/SecureBytes.h"

namespace kyv {

struct KeyState {
    // The shortest normalised key and the most characters a typing field takes; a keyfile
    // gives its first intMaxKeyLength bytes.
    static constexpr int kMinKeyLength = 16;
    static constexpr int kMaxKeyLength = 64;

    KeyState();

    // The normalised key (Windows-1252 bytes); 64 zero bytes until a key is specified.
    SecureBytes strKey;
    KeySource intKeySource = NotSpecified;
    // Checksum of strKey, 1001 to 9999.
    int intKeyChecksum = 0;
    bool blnNewRandomKey = false;
    bool blnApparentlyRandomKey = false;
    bool blnTextKey = false;
    // The last keyfile command changed nothing; the key line returns to its earlier text.
    bool blnKeyChoiceAbandoned = false;
    // The key bytes before normalisation: a keyfile's first 64 bytes, a new random key, or the
    // text typed without display when it is inspected.
    SecureBytes strKeyBytes;
    // The 16 MD5 bytes from which intKeyChecksum was last computed.
    SecureBytes strKeyDigest;
    // UTF-8 path of the keyfile of the current or last keyfile command.
    SecureBytes strKeyfilePath;
    // The last text given to NormalizeKey.
    SecureBytes strLastKeyText;
    int intMinKeyLength = kMinKeyLength;
    int intMaxKeyLength = kMaxKeyLength;

    // The keyfile path as text, for a handler that needs it briefly.
    [[nodiscard]] QString KeyfilePath() const;
    void SetKeyfilePath(const QString& path);
};

// Overwrites the key, its digest, the key bytes, the keyfile path and the last normalised text
// with zero bytes. Run by "Erase key" and when the program quits.
void EraseKeyData(KeyState& keyState);

}  // namespace kyv
