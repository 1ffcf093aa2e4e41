#pragma once
// A cipher engine for tests: a fast, reversible transformation whose output looks random, any
// result on demand, and counts of the calls the program makes.

#include <QHash>
#include <QString>
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "engine/cipher/CipherEngine.h"

namespace kyv::test {

class FakeCipherEngine final : public cipher::CipherEngine {
public:
    cipher::Outcome Encrypt(const cipher::Key& key, const std::filesystem::path& input,
                            const std::filesystem::path& output) override;
    cipher::Outcome Decrypt(const cipher::Key& key, const std::filesystem::path& input,
                            const std::filesystem::path& output) override;
    // Succeeds when the file holds what Encrypt makes.
    cipher::Outcome Verify(const cipher::Key& key, const std::filesystem::path& input) override;
    // True when the file begins as what Encrypt makes, whatever follows.
    bool IsEncryptedWithKey(const cipher::Key& key, const std::filesystem::path& input) override;
    void WipeKeys() override { ++keyWipes; }
    std::uint64_t BytesProcessed() const override { return bytesProcessed; }

    // Input file name -> result to give instead of working. Results that may leave partial
    // plaintext leave a partial output behind, as the real engine may.
    QHash<QString, cipher::CipherResult> forcedResults;
    // Runs on the engine's thread during each call, before the work.
    std::function<void(const std::filesystem::path& input)> duringCall;
    // Runs before each verification, with the file to be verified.
    std::function<void(const std::filesystem::path& input)> beforeVerify;
    int verifications = 0;

    int keyWipes = 0;
    // Calls given a key (any of the four), and Encrypt or Decrypt calls.
    int keyedCalls = 0;
    int calls = 0;
    std::size_t lastKeyLength = 0;
    bool lastKeyWasGiven = false;
    // Size of the last Encrypt or Decrypt call's input.
    std::uint64_t lastInputLength = 0;
    std::thread::id lastCallThread;
    std::atomic<std::uint64_t> bytesProcessed{0};

    // The transformation itself, for tests that check file contents.
    static std::string Encrypt(const std::string& plain);
    // False when `sealed` is not this engine's output.
    static bool Decrypt(const std::string& sealed, std::string& plain);

private:
    void NoteKey(const cipher::Key& key);
    cipher::Outcome Run(const cipher::Key& key, bool encrypt, const std::filesystem::path& input,
                        const std::filesystem::path& output);
};

// The engine's key holding the bytes of `text`.
cipher::Key EngineKeyOf(std::string_view text);

// File helpers shared by the tests.
std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);
// Text-like bytes (low randomness) of the given length.
std::string PlainBytes(std::size_t length, char seed = 'a');

}  // namespace kyv::test
