#pragma once

#include <cstddef>
#include <span>

namespace kyv {

// A byte string for key material. The bytes live in libsodium's guarded memory (locked against
// swapping, left out of core dumps) and are wiped whenever they are released or replaced.
class SecureBytes {
public:
    SecureBytes() = default;
    // `size` zero bytes.
    explicit SecureBytes(std::size_t size);
    explicit SecureBytes(std::span<const unsigned char> bytes);
    SecureBytes(const SecureBytes& other);
    SecureBytes(SecureBytes&& other) noexcept;
    SecureBytes& operator=(const SecureBytes& other);
    SecureBytes& operator=(SecureBytes&& other) noexcept;
    ~SecureBytes();

    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] bool empty() const { return size_ == 0; }
    [[nodiscard]] unsigned char* data() { return data_; }
    [[nodiscard]] const unsigned char* data() const { return data_; }
    unsigned char& operator[](std::size_t index) { return data_[index]; }
    unsigned char operator[](std::size_t index) const { return data_[index]; }
    [[nodiscard]] std::span<const unsigned char> View() const { return {data_, size_}; }

    void Assign(std::span<const unsigned char> bytes);
    void Append(unsigned char byte);
    void Insert(std::size_t position, unsigned char byte);
    void Erase(std::size_t position, std::size_t count);
    // Shrinks or grows (with zero bytes) to `size`.
    void Resize(std::size_t size);
    // Overwrites every byte with zero and keeps the length.
    void Wipe();
    // Wipes, releases the memory and leaves an empty string.
    void Clear();

    friend bool operator==(const SecureBytes& a, const SecureBytes& b);

private:
    void Reserve(std::size_t capacity);

    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace kyv
