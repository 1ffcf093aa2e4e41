#pragma once
// A cipher engine for tests: a fast, reversible transformation whose output looks random, any
// result on demand, and counts of the calls the program makes.

#include <QHash>
#include <QString>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "engine/cipher/CipherEngine.h"

namespace kyv::test {

class FakeCipherEngine final : public cipher::CipherEngine {
public:
    bool AllocateBuffers() override;
    void DeallocateBuffers() override { ++deallocations; }
    void OperationInitialization(const unsigned char* key, std::size_t keyLength, bool encrypt,
                                 std::uint64_t inputLength) override;
    cipher::CipherResult EncryptFile(const std::filesystem::path& input,
                                     const std::filesystem::path& output) override;
    cipher::CipherResult DecryptFile(const std::filesystem::path& input,
                                     const std::filesystem::path& output) override;
    // Succeeds when the file holds what Encrypt makes.
    cipher::CipherResult VerifyFile(const std::filesystem::path& input) override;
    // True when the file begins as what Encrypt makes, whatever follows.
    bool IsEncryptedWithKey(const std::filesystem::path& input) override;
    std::uint64_t BytesProcessed() const override { return bytesProcessed; }
    std::uint64_t OutputLength() const override { return outputLength; }

    // Input file name -> result to give instead of working. Results that may leave partial
    // plaintext leave a partial output behind, as the real engine may.
    QHash<QString, cipher::CipherResult> forcedResults;
    // Runs on the engine's thread during each call, before the work.
    std::function<void(const std::filesystem::path& input)> duringCall;
    // Runs before each verification, with the file to be verified.
    std::function<void(const std::filesystem::path& input)> beforeVerify;
    int verifications = 0;

    // What AllocateBuffers answers.
    bool allocateSucceeds = true;
    int allocations = 0;
    int deallocations = 0;
    int initializations = 0;
    int calls = 0;
    std::size_t lastKeyLength = 0;
    bool lastKeyWasGiven = false;
    std::uint64_t lastInputLength = 0;
    std::thread::id lastCallThread;
    std::atomic<std::uint64_t> bytesProcessed{0};
    std::uint64_t outputLength = 0;

    // The transformation itself, for tests that check file contents.
    static std::string Encrypt(const std::string& plain);
    // False when `sealed` is not this engine's output.
    static bool Decrypt(const std::string& sealed, std::string& plain);

private:
    cipher::CipherResult Run(bool encrypt, const std::filesystem::path& input,
                             const std::filesystem::path& output);
};

// File helpers shared by the tests.
std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);
// Text-like bytes (low randomness) of the given length.
std::string PlainBytes(std::size_t length, char seed = 'a');

}  // namespace kyv::test
