#pragma once
// The cipher engine: encrypts, decrypts or verifies one file per call, with the key given to
// the call.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "engine/cipher/Key.h"

namespace kyv::cipher {

// Results of the engine's calls, with the numbers docs/FORMAT.md gives them. The program
// words each of them; no other result is ever returned.
enum class [[nodiscard]] CipherResult : int{
    Success = 0,
    InputNotFound = -3,
    InputCannotBeOpened = -4,
    OutputCannotBeOpened = -5,
    ReadError = -6,
    WriteError = -7,
    KeyIncorrectOrHeaderCorrupt = -8,  // nothing was written
    DiskFull = -9,
    ReadErrorAfterOutput = -16,  // -16 to -99: the output may hold part of the plaintext
    WriteErrorAfterOutput = -17,
    ChunkAuthenticationFailed = -18,
    EndsInsideHeader = -21,  // -21 to -29: ciphertext truncated, extended or reordered
    Truncated = -22,
    BytesAppended = -23,
};

// The result's number, as reports and docs/FORMAT.md show it.
[[nodiscard]] constexpr int ResultNumber(CipherResult result) { return static_cast<int>(result); }

// Whether the output may hold part of the plaintext after this failure.
[[nodiscard]] constexpr bool MayLeavePartialPlaintext(CipherResult result)
{
    return ResultNumber(result) <= -16 && ResultNumber(result) >= -99;
}

// Whether the ciphertext was found truncated, extended or reordered.
[[nodiscard]] constexpr bool IsExpansionError(CipherResult result)
{
    return ResultNumber(result) <= -21 && ResultNumber(result) >= -29;
}

// How many block expansion errors an expansion error counts (1 to 9); 0 for any other result.
[[nodiscard]] constexpr int ExpansionErrorCount(CipherResult result)
{
    return IsExpansionError(result) ? -ResultNumber(result) - 20 : 0;
}

// Length in bytes of the program's engine key (the lengthened key).
inline constexpr std::size_t kKeyLength = 64;

// What one call of the engine came to: its result and, on Success, the length of its output (for
// Verify, the length of the plaintext the file holds).
struct [[nodiscard]] Outcome {
    CipherResult result = CipherResult::Success;
    std::uint64_t outputLength = 0;

    [[nodiscard]] bool Succeeded() const { return result == CipherResult::Success; }
};

// The engine works on one file per call, with the key it is given. A call may run on a worker
// thread while another thread reads BytesProcessed(); calls themselves come one at a time. The
// engine's buffers are had when it is made (MakeCipherEngine) and wiped when it goes.
class CipherEngine {
public:
    virtual ~CipherEngine() = default;

    // Both create `output` (owner-only permissions), write it completely and flush it to the
    // device before returning Success. On a failure that leaves nothing useful, no output remains.
    // A key that was moved away writes nothing: OutputCannotBeOpened.
    [[nodiscard]] virtual Outcome Encrypt(const Key& key, const std::filesystem::path& input,
                                          const std::filesystem::path& output) = 0;
    [[nodiscard]] virtual Outcome Decrypt(const Key& key, const std::filesystem::path& input,
                                          const std::filesystem::path& output) = 0;

    // Authenticates an encrypted file with the key, writing no plaintext anywhere: Success, or the
    // result Decrypt would have. The file is read from its device, not from the copy the system
    // keeps in memory, where the system allows.
    [[nodiscard]] virtual Outcome Verify(const Key& key, const std::filesystem::path& input) = 0;
    // Whether `input` begins with a header that the key opens: a file this program encrypted with
    // this key. Only the header is read. An engine that cannot tell says no.
    [[nodiscard]] virtual bool IsEncryptedWithKey(const Key&, const std::filesystem::path&) { return false; }

    // Forgets every key derived so far (the next call derives again); the program calls it when
    // it shuts down, before the engine goes.
    virtual void WipeKeys() = 0;

    // Input bytes of the current file consumed so far; may be read from any thread.
    [[nodiscard]] virtual std::uint64_t BytesProcessed() const = 0;
};

// Cost of the Argon2id key derivation. Encryption uses `encrypt` and records it in every file;
// decryption accepts a file's recorded cost only up to `decryptCeiling`, so that a crafted header
// cannot make the program spend minutes or gigabytes on one derivation.
struct KdfCost {
    std::uint8_t opsLimit = 0;      // Argon2id passes
    std::uint8_t memLimitLog2 = 0;  // memory in bytes, as a power of two
};
struct KdfPolicy {
    KdfCost encrypt;
    KdfCost decryptCeiling;
};

// libsodium's MODERATE level (3 passes, 256 MiB); files may record up to 12 passes and 1 GiB.
[[nodiscard]] KdfPolicy DefaultKdfPolicy();

// The program's engine; null when its guarded memory cannot be had (the program then ends).
[[nodiscard]] std::unique_ptr<CipherEngine> MakeCipherEngine();
// An engine with another derivation cost (tests and the fuzzer use cheap ones); null as above,
// or when the policy's encryption cost is not one a file can record.
[[nodiscard]] std::unique_ptr<CipherEngine> MakeCipherEngine(const KdfPolicy& policy);

// Whether `count` key bytes are text (the rule is written in docs/FORMAT.md).
[[nodiscard]] bool KeyIsText(const unsigned char* bytes, std::size_t count);

}  // namespace kyv::cipher
