#pragma once
// The one current key of the program, with where it came from and what is known about it.

#include <QString>

#include "core/keys/KeySource.h"
#include "core/keys/SecureBytes.h"
#include "platform/FilePath.h"

namespace kyv {

struct KeyState {
    // The shortest normalised key and the most characters a typing field takes; a keyfile
    // gives its first maxKeyLength bytes.
    static constexpr int kMinKeyLength = 16;
    static constexpr int kMaxKeyLength = 64;

    KeyState();

    // The normalised key (Windows-1252 bytes); 64 zero bytes until a key is specified.
    SecureBytes normalizedKey;
    KeySource source = NotSpecified;
    // Checksum of normalizedKey, 1001 to 9999.
    int checksum = 0;
    bool newRandomKey = false;
    bool apparentlyRandom = false;
    bool isText = false;
    // The last keyfile command changed nothing; the key line returns to its earlier text.
    bool choiceAbandoned = false;
    // The key bytes before normalisation: a keyfile's first 64 bytes, a new random key, or the
    // text typed without display when it is inspected.
    SecureBytes rawKeyBytes;
    // The 16 MD5 bytes from which checksum was last computed.
    SecureBytes digest;
    // The file system's bytes of the path of the keyfile of the current or last keyfile command.
    SecureBytes keyfilePath;
    // The last text given to NormalizeKey.
    SecureBytes lastKeyText;
    int minKeyLength = kMinKeyLength;
    int maxKeyLength = kMaxKeyLength;

    // The keyfile path, for a handler that needs it briefly.
    [[nodiscard]] platform::FilePath KeyfilePath() const;
    void SetKeyfilePath(const platform::FilePath& path);
};

// Overwrites the key, its digest, the key bytes, the keyfile path and the last normalised text
// with zero bytes. Run by "Erase key" and when the program quits.
void EraseKeyData(KeyState& keyState);

}  // namespace kyv
