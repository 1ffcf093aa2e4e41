#pragma once
// From the user's key to the key of one file.
//
// The expensive Argon2id derivation runs once per salt: encryption draws one salt per key and
// cost and reuses it for every file of the run, decryption remembers the derivations it made for
// the salts it met. Per-file uniqueness comes from the file nonce, which a keyed BLAKE2b turns
// into the file key. Every derived key lives in SecretBuffer memory and is wiped when the key
// changes or Wipe is called.

#include <cstddef>
#include <cstdint>
#include <deque>

#include "engine/cipher/CipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "engine/cipher/SecretBuffer.h"

namespace kyv::cipher {

class KeySchedule {
public:
    // Remembers `key`; a key that differs from the previous one wipes every derivation.
    void SetKey(const unsigned char* key, std::size_t length);
    // Forgets the key and every derivation.
    void Wipe();

    struct MasterKey {
        format::Salt salt{};
        KdfCost cost;
        const unsigned char* key = nullptr;  // kKeySize bytes, owned by the schedule
    };

    // The run's encryption salt and its derived key (derived on first use); key is null when the
    // derivation could not get its memory.
    [[nodiscard]] MasterKey EncryptionKey(const KdfCost& cost);
    // The key derived for a file's salt and cost; null when the derivation failed.
    [[nodiscard]] const unsigned char* DecryptionKey(const format::Salt& salt, const KdfCost& cost);

    // Whether EncryptionKey(cost) would return without deriving.
    [[nodiscard]] bool HasEncryptionKey(const KdfCost& cost) const;

    // Number of Argon2id derivations made since the key was set (tests count them).
    [[nodiscard]] std::uint64_t DerivationCount() const { return derivations_; }

    // Most derivations kept for decryption; older ones are wiped first.
    static constexpr std::size_t kCacheCapacity = 32;

private:
    struct Entry {
        format::Salt salt{};
        KdfCost cost;
        SecretBuffer key;
    };
    [[nodiscard]] SecretBuffer Derive(const format::Salt& salt, const KdfCost& cost);
    [[nodiscard]] const unsigned char* CachedDecryptionKey(const format::Salt& salt,
                                                           const KdfCost& cost) const;

    SecretBuffer userKey_;
    bool hasKey_ = false;
    std::deque<Entry> decryptionCache_;
    Entry encryption_;
    std::uint64_t derivations_ = 0;
};

// The file key: BLAKE2b-256 keyed with the master key over the public header bytes (version,
// cost, salt, file nonce), personalised "KyvCipher file 1". False only if libsodium fails.
[[nodiscard]] bool DeriveFileKey(const unsigned char* masterKey, const unsigned char* publicHeader,
                                 unsigned char* fileKey);

}  // namespace kyv::cipher
