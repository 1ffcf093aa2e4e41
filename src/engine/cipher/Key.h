#pragma once
// The key the engine encrypts and decrypts with, in guarded memory (SecretBuffer): never copied,
// only moved, and wiped when it goes.

#include <cstddef>
#include <optional>
#include <span>
#include <utility>

#include "engine/cipher/SecretBuffer.h"

namespace kyv::cipher {

class Key {
public:
    // A copy of `bytes` in guarded memory; none when `bytes` is empty or the memory cannot be had.
    [[nodiscard]] static std::optional<Key> Copy(std::span<const unsigned char> bytes);

    Key(Key&&) noexcept = default;
    Key& operator=(Key&&) noexcept = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() = default;

    // True once the key was moved away: it then holds no bytes.
    [[nodiscard]] bool Empty() const { return !bytes_.Valid(); }
    [[nodiscard]] std::span<const unsigned char> Bytes() const { return {bytes_.Data(), bytes_.Size()}; }

private:
    explicit Key(SecretBuffer bytes) : bytes_(std::move(bytes)) {}

    SecretBuffer bytes_;
};

}  // namespace kyv::cipher
