#pragma once
// Shared helpers of the cipher engine's tests: a scratch folder, file contents, and an engine
// whose Argon2id cost is the cheapest libsodium allows, so that the suite stays fast.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/cipher/ChunkedCipherEngine.h"

namespace kyv::cipher {
// GoogleTest shows results by their numbers.
inline void PrintTo(CipherResult result, std::ostream* out) { *out << ResultNumber(result); }
}  // namespace kyv::cipher

namespace kyv::cipher::test {

using Bytes = std::vector<unsigned char>;

inline constexpr KdfPolicy kCheapPolicy{KdfCost{1, 13}, KdfCost{2, 16}};

// A 64-character key as the program passes it.
[[nodiscard]] std::string TestKey(char fill = 'K');
// The engine's key holding `text`'s bytes.
[[nodiscard]] Key KeyOf(const std::string& text);

[[nodiscard]] Bytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

enum class Content { Zeros, Text, Random };
[[nodiscard]] Bytes MakePlaintext(Content content, std::size_t size, std::uint32_t seed = 1);

// Names of the folder's entries, sorted: shows stray working files.
[[nodiscard]] std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

class CipherTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    [[nodiscard]] std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
    [[nodiscard]] std::unique_ptr<ChunkedCipherEngine> MakeEngine() const;

    // Writes `plaintext` to plain.bin and encrypts it to enc.kyv with `key`; returns the result.
    [[nodiscard]] CipherResult EncryptBytes(ChunkedCipherEngine& engine, const Bytes& plaintext,
                                            const std::string& key);
    [[nodiscard]] CipherResult Encrypt(ChunkedCipherEngine& engine, const std::filesystem::path& in,
                                       const std::filesystem::path& out, const std::string& key);
    [[nodiscard]] CipherResult Decrypt(ChunkedCipherEngine& engine, const std::filesystem::path& in,
                                       const std::filesystem::path& out, const std::string& key);
    // Output length of the last Encrypt or Decrypt above.
    [[nodiscard]] std::uint64_t LastOutputLength() const { return lastOutputLength_; }

    std::filesystem::path folder_;
    std::uint64_t lastOutputLength_ = 0;
};

}  // namespace kyv::cipher::test
