#include "engine/cipher/KeySchedule.h"

#include "engine/cipher/GuardedStack.h"

#include <sodium.h>

#include <algorithm>

namespace kyv::cipher {

namespace {

bool SameCost(const KdfCost& a, const KdfCost& b)
{
    return a.opsLimit == b.opsLimit && a.memLimitLog2 == b.memLimitLog2;
}

}  // namespace

void KeySchedule::SetKey(const unsigned char* key, std::size_t length)
{
    if (hasKey_ && userKey_.Size() == length &&
        (length == 0 || sodium_memcmp(userKey_.Data(), key, length) == 0)) {
        return;
    }
    Wipe();
    userKey_ = SecretBuffer(length);
    if (!userKey_.Valid()) {
        return;
    }
    if (length > 0) {
        std::copy_n(key, length, userKey_.Data());
        ClearVectorRegisters();
    }
    hasKey_ = true;
}

void KeySchedule::Wipe()
{
    userKey_.Release();
    hasKey_ = false;
    decryptionCache_.clear();
    encryption_ = Entry{};
    derivations_ = 0;
}

SecretBuffer KeySchedule::Derive(const format::Salt& salt, const KdfCost& cost)
{
    SecretBuffer out(format::kKeySize);
    if (!hasKey_ || !out.Valid() || !format::CostIsValid(cost.opsLimit, cost.memLimitLog2)) {
        return {};
    }
    const auto memory = std::size_t{1} << cost.memLimitLog2;
    ++derivations_;
    // Argon2's first hash leaves copies of the key in its stack frames: they go to guarded memory.
    int status = -1;
    const bool ran = RunOnGuardedStack(GuardedStackRoom::KeyDerivation, [&] {
        status =
            crypto_pwhash(out.Data(), format::kKeySize, reinterpret_cast<const char*>(userKey_.Data()),
                          userKey_.Size(), salt.data(), cost.opsLimit, memory, crypto_pwhash_ALG_ARGON2ID13);
    });
    if (!ran || status != 0) {
        return {};
    }
    return out;
}

bool KeySchedule::HasEncryptionKey(const KdfCost& cost) const
{
    return encryption_.key.Valid() && SameCost(encryption_.cost, cost);
}

KeySchedule::MasterKey KeySchedule::EncryptionKey(const KdfCost& cost)
{
    if (!HasEncryptionKey(cost)) {
        encryption_ = Entry{};
        randombytes_buf(encryption_.salt.data(), encryption_.salt.size());
        encryption_.cost = cost;
        encryption_.key = Derive(encryption_.salt, cost);
    }
    return {encryption_.salt, encryption_.cost, encryption_.key.Valid() ? encryption_.key.Data() : nullptr};
}

const unsigned char* KeySchedule::CachedDecryptionKey(const format::Salt& salt, const KdfCost& cost) const
{
    // Files written in this run share the encryption salt: no need to derive again.
    if (HasEncryptionKey(cost) && encryption_.salt == salt) {
        return encryption_.key.Data();
    }
    for (const auto& entry : decryptionCache_) {
        if (SameCost(entry.cost, cost) && entry.salt == salt) {
            return entry.key.Data();
        }
    }
    return nullptr;
}

const unsigned char* KeySchedule::DecryptionKey(const format::Salt& salt, const KdfCost& cost)
{
    if (const unsigned char* cached = CachedDecryptionKey(salt, cost)) {
        return cached;
    }
    SecretBuffer derived = Derive(salt, cost);
    if (!derived.Valid()) {
        return nullptr;
    }
    if (decryptionCache_.size() == kCacheCapacity) {
        decryptionCache_.pop_front();
    }
    decryptionCache_.push_back(Entry{salt, cost, std::move(derived)});
    return decryptionCache_.back().key.Data();
}

bool DeriveFileKey(const unsigned char* masterKey, const unsigned char* publicHeader, unsigned char* fileKey)
{
    // The keyed hash compresses the master key as its first block, on the guarded stack.
    int status = -1;
    const bool ran = RunOnGuardedStack(GuardedStackRoom::Hash, [&] {
        status = crypto_generichash_blake2b_salt_personal(
            fileKey, format::kKeySize, publicHeader, format::kPublicHeaderSize, masterKey, format::kKeySize,
            nullptr, format::kFileKeyPersonal.data());
    });
    return ran && status == 0;
}

}  // namespace kyv::cipher
