#include "core/keys/SecureBytes.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace kyv {

namespace {

// Keys are at most 64 bytes and paths a few hundred; one guarded allocation covers most of them.
constexpr std::size_t kMinimumCapacity = 128;

unsigned char* AllocateGuarded(std::size_t capacity)
{
    static const bool kInitialised = sodium_init() >= 0;
    if (!kInitialised) throw std::bad_alloc();
    // sodium_malloc locks the pages and keeps them out of core dumps.
    auto* memory = static_cast<unsigned char*>(sodium_malloc(capacity));
    if (memory == nullptr) throw std::bad_alloc();
    std::memset(memory, 0, capacity);
    return memory;
}

}  // namespace

SecureBytes::SecureBytes(std::size_t size) { Resize(size); }

SecureBytes::SecureBytes(std::span<const unsigned char> bytes) { Assign(bytes); }

SecureBytes::SecureBytes(const SecureBytes& other) { Assign(other.View()); }

SecureBytes::SecureBytes(SecureBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0))
{
}

SecureBytes& SecureBytes::operator=(const SecureBytes& other)
{
    if (this != &other) Assign(other.View());
    return *this;
}

SecureBytes& SecureBytes::operator=(SecureBytes&& other) noexcept
{
    if (this != &other) {
        Clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

SecureBytes::~SecureBytes() { Clear(); }

void SecureBytes::Reserve(std::size_t capacity)
{
    if (capacity <= capacity_) return;
    const std::size_t newCapacity = std::max({capacity, capacity_ * 2, kMinimumCapacity});
    unsigned char* memory = AllocateGuarded(newCapacity);
    if (size_ > 0) std::memcpy(memory, data_, size_);
    if (data_ != nullptr) sodium_free(data_);  // wipes the old copy
    data_ = memory;
    capacity_ = newCapacity;
}

void SecureBytes::Assign(std::span<const unsigned char> bytes)
{
    if (bytes.empty()) {
        Wipe();
        size_ = 0;
        return;
    }
    // The source may lie inside this string; copy before touching the old contents.
    if (bytes.data() >= data_ && bytes.data() < data_ + capacity_) {
        SecureBytes copy(bytes);
        *this = std::move(copy);
        return;
    }
    Reserve(bytes.size());
    Wipe();
    std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
}

void SecureBytes::Append(unsigned char byte) { Insert(size_, byte); }

void SecureBytes::Insert(std::size_t position, unsigned char byte)
{
    position = std::min(position, size_);
    Reserve(size_ + 1);
    std::memmove(data_ + position + 1, data_ + position, size_ - position);
    data_[position] = byte;
    ++size_;
}

void SecureBytes::Erase(std::size_t position, std::size_t count)
{
    if (position >= size_) return;
    count = std::min(count, size_ - position);
    std::memmove(data_ + position, data_ + position + count, size_ - position - count);
    sodium_memzero(data_ + size_ - count, count);
    size_ -= count;
}

void SecureBytes::Resize(std::size_t size)
{
    if (size > size_) {
        Reserve(size);
        std::memset(data_ + size_, 0, size - size_);
    } else if (size < size_) {
        sodium_memzero(data_ + size, size_ - size);
    }
    size_ = size;
}

void SecureBytes::Wipe()
{
    if (data_ != nullptr) sodium_memzero(data_, capacity_);
}

void SecureBytes::Clear()
{
    if (data_ != nullptr) sodium_free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

bool operator==(const SecureBytes& a, const SecureBytes& b)
{
    if (a.size_ != b.size_) return false;
    return a.size_ == 0 || sodium_memcmp(a.data_, b.data_, a.size_) == 0;
}

}  // namespace kyv
