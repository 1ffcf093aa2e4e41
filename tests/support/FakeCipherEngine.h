#pragma once

#include <atomic>
#include <functional>

#include "engine/cipher/CipherEngine.h"

namespace kyv::test {

// Counts the engine's lifecycle calls; file calls return `result` after running `onFile`.
class FakeCipherEngine final : public cipher::CipherEngine {
public:
    bool AllocateBuffers() override
    {
        ++allocations;
        return allocateSucceeds;
    }
    void DeallocateBuffers() override { ++deallocations; }
    void OperationInitialization(const unsigned char*, std::size_t keyLength, bool encrypt,
                                 std::uint64_t inputLength) override
    {
        ++initializations;
        lastKeyLength = keyLength;
        lastEncrypt = encrypt;
        lastInputLength = inputLength;
    }
    int EncryptFile(const std::filesystem::path& input, const std::filesystem::path& output) override
    {
        return File(input, output);
    }
    int DecryptFile(const std::filesystem::path& input, const std::filesystem::path& output) override
    {
        return File(input, output);
    }
    std::uint64_t BytesProcessed() const override { return bytesProcessed; }
    std::uint64_t OutputLength() const override { return outputLength; }

    bool allocateSucceeds = true;
    int allocations = 0;
    int deallocations = 0;
    int initializations = 0;
    std::size_t lastKeyLength = 0;
    bool lastEncrypt = false;
    std::uint64_t lastInputLength = 0;
    int result = cipher::kSuccess;
    std::function<int(const std::filesystem::path&, const std::filesystem::path&)> onFile;
    std::atomic<std::uint64_t> bytesProcessed{0};
    // Measured from the output after each successful call.
    std::uint64_t outputLength = 0;

private:
    int File(const std::filesystem::path& input, const std::filesystem::path& output)
    {
        const int code = onFile ? onFile(input, output) : result;
        std::error_code error;
        const std::uintmax_t length = std::filesystem::file_size(output, error);
        outputLength = code == cipher::kSuccess && !error ? length : 0;
        return code;
    }
};

}  // namespace kyv::test
