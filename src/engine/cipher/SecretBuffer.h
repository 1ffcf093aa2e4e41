#pragma once
// Memory for key material: guarded pages from libsodium, locked against swapping where the
// system allows it, left out of core dumps, and wiped when released.

#include <cstddef>

namespace kyv::cipher {

class SecretBuffer {
public:
    SecretBuffer() = default;
    // Allocates `size` bytes (at least one); Valid() is false when the memory could not be had.
    explicit SecretBuffer(std::size_t size);
    ~SecretBuffer();
    SecretBuffer(SecretBuffer&& other) noexcept;
    SecretBuffer& operator=(SecretBuffer&& other) noexcept;
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;

    [[nodiscard]] bool Valid() const { return data_ != nullptr; }
    [[nodiscard]] unsigned char* Data() { return data_; }
    [[nodiscard]] const unsigned char* Data() const { return data_; }
    [[nodiscard]] std::size_t Size() const { return size_; }

    // Wipes and frees the memory now.
    void Release();

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace kyv::cipher
