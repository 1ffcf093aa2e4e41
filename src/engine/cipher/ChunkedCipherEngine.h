#pragma once
// The program's cipher engine: Argon2id key schedule, chunked ChaCha20-Poly1305, files written
// completely before they take their name (format: docs/FORMAT.md).

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "engine/cipher/ChaChaPoly.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "engine/cipher/KeySchedule.h"
#include "engine/cipher/Workspace.h"

namespace kyv::cipher {

class ChunkedCipherEngine final : public CipherEngine {
public:
    // Null when the workspace cannot be had or the policy's encryption cost is not valid.
    [[nodiscard]] static std::unique_ptr<ChunkedCipherEngine> Make(const KdfPolicy& policy);
    ChunkedCipherEngine(const KdfPolicy& policy, Workspace workspace);

    [[nodiscard]] Outcome Encrypt(const Key& key, const std::filesystem::path& input,
                                  const std::filesystem::path& output) override;
    [[nodiscard]] Outcome Decrypt(const Key& key, const std::filesystem::path& input,
                                  const std::filesystem::path& output) override;
    [[nodiscard]] Outcome Verify(const Key& key, const std::filesystem::path& input) override;
    [[nodiscard]] bool IsEncryptedWithKey(const Key& key, const std::filesystem::path& input) override;
    void WipeKeys() override { workspace_.Keys().Wipe(); }
    [[nodiscard]] std::uint64_t BytesProcessed() const override;

    // Argon2id derivations made for the current key (a batch should need one).
    [[nodiscard]] std::uint64_t DerivationCount() const { return workspace_.Keys().DerivationCount(); }
    // Threads a large file may use; 1 runs everything on the calling thread.
    void SetMaxThreads(unsigned threads) { maxThreads_ = threads == 0 ? 1 : threads; }

private:
    // The chunk work of one file: its descriptors, key, the calling thread's cipher (keyed for this
    // file and direction) and header, with this engine's progress counter.
    [[nodiscard]] ChunkJob MakeChunkJob(int inputFd, int outputFd, bool encrypt, std::uint64_t length,
                                        ChaChaPoly& cipher, const unsigned char* fileKey,
                                        const format::Header& header);
    using FileCall = Outcome (ChunkedCipherEngine::*)(KeySchedule&, const std::filesystem::path&,
                                                      const std::filesystem::path&);
    // Runs one file call with the key's schedule, memory failures turned into a result code.
    [[nodiscard]] Outcome RunFileCall(FileCall call, const Key& key, const std::filesystem::path& input,
                                      const std::filesystem::path& output);
    [[nodiscard]] Outcome Seal(KeySchedule& keys, const std::filesystem::path& input,
                               const std::filesystem::path& output);
    // Reads the header of the open input `inputFd` of `fileSize` bytes and opens its sealed length
    // with the key: Success with the plaintext length, or the result a decryption ends with. The
    // file's key is then in the workspace, and `opener` is keyed with it.
    [[nodiscard]] CipherResult OpenHeader(KeySchedule& keys, int inputFd, std::uint64_t fileSize,
                                          format::Header& header, std::optional<ChaChaPoly>& opener,
                                          std::uint64_t& length);
    // With an empty output: authentication alone, the plaintext thrown away.
    [[nodiscard]] Outcome Open(KeySchedule& keys, const std::filesystem::path& input,
                               const std::filesystem::path& output);

    KdfPolicy policy_;
    Workspace workspace_;
    std::atomic<std::uint64_t> progress_{0};
    unsigned maxThreads_ = 2;
};

}  // namespace kyv::cipher
