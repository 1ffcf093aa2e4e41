#pragma once
// The program's cipher engine: Argon2id key schedule, chunked ChaCha20-Poly1305, files written
// completely before they take their name (format: docs/FORMAT.md).

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "engine/cipher/ChaChaPoly.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "engine/cipher/KeySchedule.h"
#include "engine/cipher/SecretBuffer.h"

namespace kyv::cipher {

class ChunkedCipherEngine final : public CipherEngine {
public:
    explicit ChunkedCipherEngine(const KdfPolicy& policy);
    ~ChunkedCipherEngine() override;

    [[nodiscard]] bool AllocateBuffers() override;
    void DeallocateBuffers() override;
    void OperationInitialization(const unsigned char* key, std::size_t keyLength, bool encrypt,
                                 std::uint64_t inputLength) override;
    [[nodiscard]] CipherResult EncryptFile(const std::filesystem::path& input,
                                           const std::filesystem::path& output) override;
    [[nodiscard]] CipherResult DecryptFile(const std::filesystem::path& input,
                                           const std::filesystem::path& output) override;
    [[nodiscard]] CipherResult VerifyFile(const std::filesystem::path& input) override;
    [[nodiscard]] bool IsEncryptedWithKey(const std::filesystem::path& input) override;
    [[nodiscard]] std::uint64_t BytesProcessed() const override;
    [[nodiscard]] std::uint64_t OutputLength() const override { return outputLength_; }

    // Argon2id derivations made for the current key (a batch should need one).
    [[nodiscard]] std::uint64_t DerivationCount() const { return keys_.DerivationCount(); }
    // Threads a large file may use; 1 runs everything on the calling thread.
    void SetMaxThreads(unsigned threads) { maxThreads_ = threads == 0 ? 1 : threads; }

private:
    // The chunk work of one file: its descriptors, key, the calling thread's cipher (keyed for this
    // file and direction) and header, with this engine's progress counter.
    [[nodiscard]] ChunkJob MakeChunkJob(int inputFd, int outputFd, bool encrypt, std::uint64_t length,
                                        ChaChaPoly& cipher, const unsigned char* fileKey,
                                        const format::Header& header);
    using FileCall = CipherResult (ChunkedCipherEngine::*)(const std::filesystem::path&,
                                                           const std::filesystem::path&);
    // Runs one file call with the engine ready and memory failures turned into a result code.
    [[nodiscard]] CipherResult RunFileCall(FileCall call, const std::filesystem::path& input,
                                           const std::filesystem::path& output);
    [[nodiscard]] CipherResult Encrypt(const std::filesystem::path& input,
                                       const std::filesystem::path& output);
    // Reads the header of the open input `inputFd` of `fileSize` bytes and opens its sealed length
    // with the key: Success with the plaintext length, or the result a decryption ends with. The
    // file's key is then in fileKey_, and `opener` is keyed with it.
    [[nodiscard]] CipherResult OpenHeader(int inputFd, std::uint64_t fileSize, format::Header& header,
                                          std::optional<ChaChaPoly>& opener, std::uint64_t& length);
    // With an empty output: authentication alone, the plaintext thrown away.
    [[nodiscard]] CipherResult Decrypt(const std::filesystem::path& input,
                                       const std::filesystem::path& output);

    KdfPolicy policy_;
    KeySchedule keys_;
    SecretBuffer fileKey_;  // the current file's key; one guarded allocation for the whole run
    bool ready_ = false;
    std::atomic<std::uint64_t> progress_{0};
    std::uint64_t outputLength_ = 0;
    unsigned maxThreads_ = 2;
};

}  // namespace kyv::cipher
