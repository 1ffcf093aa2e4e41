#include "engine/cipher/SecretBuffer.h"

#include <sodium.h>

#include <utility>

namespace kyv::cipher {

SecretBuffer::SecretBuffer(std::size_t size)
{
    if (sodium_init() < 0) {
        return;
    }
    // sodium_malloc wipes on sodium_free, guards the pages and marks them MADV_DONTDUMP.
    data_ = static_cast<unsigned char*>(sodium_malloc(size == 0 ? 1 : size));
    size_ = data_ != nullptr ? size : 0;
}

SecretBuffer::~SecretBuffer() { Release(); }

SecretBuffer::SecretBuffer(SecretBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

SecretBuffer& SecretBuffer::operator=(SecretBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void SecretBuffer::Release()
{
    if (data_ != nullptr) {
        sodium_free(data_);
        data_ = nullptr;
        size_ = 0;
    }
}

}  // namespace kyv::cipher
