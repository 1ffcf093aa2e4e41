// Writes the cipher engine's test vectors: NAME.kyv (an encrypted file, possibly damaged) and
// NAME.txt (what decrypting it must give). Salts and nonces come from a seeded generator, so
// running it again writes the same files.
//
//   cipher_vector_generator <folder>

#include <sodium.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/cipher/ChunkedCipherEngine.h"
#include "engine/cipher/FileFormat.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;
namespace format = kyv::cipher::format;

constexpr std::uint64_t kSeed = 20261208;
const std::string kKey = "KYV-CIPHER-TEST-VECTOR-KEY-0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kWrongKey = "KYV-CIPHER-TEST-VECTOR-KEY-0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYz";

// Deterministic stand-in for the system's random bytes: each request is a fresh stretch of a
// keyed stream whose key is the seed and whose nonce counts the requests.
std::uint64_t requests = 0;

void SeededBuf(void* buffer, std::size_t size)
{
    unsigned char seed[randombytes_SEEDBYTES] = {};
    for (std::size_t i = 0; i < 8; ++i) {
        seed[i] = static_cast<unsigned char>(kSeed >> (8 * i));
        seed[8 + i] = static_cast<unsigned char>(requests >> (8 * i));
    }
    ++requests;
    randombytes_buf_deterministic(buffer, size, seed);
}
std::uint32_t SeededRandom()
{
    std::uint32_t value;
    SeededBuf(&value, sizeof value);
    return value;
}
const char* SeededName() { return "seeded"; }

randombytes_implementation kSeeded = {SeededName, SeededRandom, nullptr, nullptr, SeededBuf, nullptr};

std::string Hex(const unsigned char* bytes, std::size_t size)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

std::string Sha256(const Bytes& bytes)
{
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, bytes.data(), bytes.size());
    return Hex(digest, sizeof digest);
}

Bytes Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>((i * 131 + i / 251) & 0xFF);
    }
    return bytes;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class Generator {
public:
    explicit Generator(fs::path folder) : folder_(std::move(folder)) {}

    Bytes Encrypt(const Bytes& plaintext, const kyv::cipher::KdfPolicy& policy)
    {
        const auto engine = kyv::cipher::ChunkedCipherEngine::Make(policy);
        const auto key =
            kyv::cipher::Key::Copy({reinterpret_cast<const unsigned char*>(kKey.data()), kKey.size()});
        if (!engine || !key) {
            std::fprintf(stderr, "engine not ready\n");
            std::exit(1);
        }
        const fs::path plain = folder_ / "generator-plaintext.tmp";
        const fs::path sealed = folder_ / "generator-ciphertext.tmp";
        Write(plain, plaintext);
        const kyv::cipher::CipherResult code = engine->Encrypt(*key, plain, sealed).result;
        Bytes result = Read(sealed);
        fs::remove(plain);
        fs::remove(sealed);
        if (code != kyv::cipher::CipherResult::Success) {
            std::fprintf(stderr, "encryption failed: %d\n", kyv::cipher::ResultNumber(code));
            std::exit(1);
        }
        return result;
    }

    // `output` is what decryption must leave: the plaintext, an authenticated prefix, or nothing.
    void Vector(const std::string& name, const std::string& expect, int code, const std::string& key,
                const Bytes& ciphertext, const Bytes& plaintext, const Bytes* output)
    {
        Write(folder_ / (name + ".kyv"), ciphertext);
        std::ofstream text(folder_ / (name + ".txt"), std::ios::trunc);
        text << "# Kyv Cipher test vector; made by GenerateCipherVectors with seed " << kSeed << "\n"
             << "expect: " << expect << "\n"
             << "code: " << code << "\n"
             << "key: " << key << "\n"
             << "kdf: ops=" << int{ciphertext.size() > 2 ? ciphertext[1] : 0} << " mem=2^"
             << int{ciphertext.size() > 2 ? ciphertext[2] : 0} << "\n"
             << "plaintext-length: " << plaintext.size() << "\n"
             << "plaintext-sha256: " << Sha256(plaintext) << "\n";
        if (output == nullptr) {
            text << "output: none\n";
        } else {
            text << "output-length: " << output->size() << "\n"
                 << "output-sha256: " << Sha256(*output) << "\n";
        }
    }

private:
    fs::path folder_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    randombytes_set_implementation(&kSeeded);
    if (sodium_init() < 0) {
        return 1;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    Generator generator(folder);
    using kyv::cipher::KdfCost;
    using kyv::cipher::KdfPolicy;
    const KdfPolicy cheap{KdfCost{1, 13}, KdfCost{1, 13}};
    using kyv::cipher::CipherResult;
    using kyv::cipher::ResultNumber;
    constexpr int kHeader = ResultNumber(CipherResult::KeyIncorrectOrHeaderCorrupt);
    constexpr int kPayload = ResultNumber(CipherResult::ChunkAuthenticationFailed);
    const std::size_t chunk = format::kChunkSize;

    const Bytes empty;
    const Bytes line = Text("Kyv Cipher test vector: one short line of text.\r\n");
    const Bytes oneChunk = Pattern(chunk);
    const Bytes chunkPlusOne = Pattern(chunk + 1);
    const Bytes threeChunks = Pattern(2 * chunk + 1000);

    const Bytes sealedEmpty = generator.Encrypt(empty, cheap);
    const Bytes sealedLine = generator.Encrypt(line, cheap);
    const Bytes sealedOneChunk = generator.Encrypt(oneChunk, cheap);
    const Bytes sealedChunkPlusOne = generator.Encrypt(chunkPlusOne, cheap);
    const Bytes sealedThree = generator.Encrypt(threeChunks, cheap);
    const Bytes sealedModerate = generator.Encrypt(line, kyv::cipher::DefaultKdfPolicy());

    generator.Vector("success-empty", "success", 0, kKey, sealedEmpty, empty, &empty);
    generator.Vector("success-line", "success", 0, kKey, sealedLine, line, &line);
    generator.Vector("success-one-chunk", "success", 0, kKey, sealedOneChunk, oneChunk, &oneChunk);
    generator.Vector("success-chunk-plus-one", "success", 0, kKey, sealedChunkPlusOne, chunkPlusOne,
                     &chunkPlusOne);
    generator.Vector("success-moderate-cost", "success", 0, kKey, sealedModerate, line, &line);

    generator.Vector("wrong-key", "wrong key", kHeader, kWrongKey, sealedLine, line, nullptr);

    Bytes version = sealedLine;
    version[format::kVersionOffset] = 2;
    generator.Vector("header-failure-version", "header failure", kHeader, kKey, version, line, nullptr);
    Bytes salt = sealedLine;
    salt[format::kSaltOffset + 5] ^= 0x01;
    generator.Vector("header-failure-salt", "header failure", kHeader, kKey, salt, line, nullptr);
    Bytes nonce = sealedLine;
    nonce[format::kFileNonceOffset] ^= 0x80;
    generator.Vector("header-failure-nonce", "header failure", kHeader, kKey, nonce, line, nullptr);
    Bytes length = sealedLine;
    length[format::kSealedLengthOffset] ^= 0x04;
    generator.Vector("header-failure-length", "header failure", kHeader, kKey, length, line, nullptr);

    Bytes firstChunk = sealedChunkPlusOne;
    firstChunk[format::kHeaderSize + 100] ^= 0x10;
    generator.Vector("payload-failure-first-chunk", "payload failure", kPayload, kKey, firstChunk,
                     chunkPlusOne, nullptr);
    Bytes finalChunk = sealedChunkPlusOne;
    finalChunk.back() ^= 0x01;
    const Bytes prefix(chunkPlusOne.begin(), chunkPlusOne.begin() + chunk);
    generator.Vector("payload-failure-final-tag", "payload failure", kPayload, kKey, finalChunk, chunkPlusOne,
                     &prefix);
    Bytes swapped = sealedThree;
    std::swap_ranges(swapped.begin() + format::kHeaderSize,
                     swapped.begin() + format::kHeaderSize + format::kSealedChunkSize,
                     swapped.begin() + format::kHeaderSize + format::kSealedChunkSize);
    generator.Vector("payload-failure-swapped", "payload failure", kPayload, kKey, swapped, threeChunks,
                     nullptr);

    const Bytes cutHeader(sealedLine.begin(), sealedLine.begin() + 40);
    generator.Vector("truncated-header", "truncated", ResultNumber(CipherResult::EndsInsideHeader), kKey,
                     cutHeader, line, nullptr);
    const Bytes cutBoundary(sealedChunkPlusOne.begin(),
                            sealedChunkPlusOne.begin() + format::kHeaderSize + format::kSealedChunkSize);
    generator.Vector("truncated-at-chunk-boundary", "truncated", ResultNumber(CipherResult::Truncated), kKey,
                     cutBoundary, chunkPlusOne, nullptr);
    Bytes appended = sealedLine;
    appended.push_back(0x00);
    generator.Vector("truncated-extended-by-one-byte", "truncated", ResultNumber(CipherResult::BytesAppended),
                     kKey, appended, line, nullptr);
    std::printf("16 vectors written to %s\n", folder.c_str());
    return 0;
}
