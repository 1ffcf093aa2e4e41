// Decrypts arbitrary bytes and checks that the engine answers with one of its codes, never
// accepts a file it did not write, and leaves no output where none may remain.
//
// The first input byte picks the mode: even, the rest is the whole file; odd, the rest is
// 8 bytes of plaintext length and a payload behind a header sealed with the right key, so that
// the fuzzer reaches the size checks and the chunk decryption behind the header's check.

#include <sodium.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/cipher/ChunkedCipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "engine/cipher/KeySchedule.h"

namespace {

namespace fs = std::filesystem;
namespace format = kyv::cipher::format;
using Bytes = std::vector<unsigned char>;
using Digest = std::array<unsigned char, crypto_hash_sha256_BYTES>;

const std::string kKey = "KYV-CIPHER-TEST-VECTOR-KEY-0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr kyv::cipher::KdfPolicy kPolicy{{1, 13}, {2, 16}};

using kyv::cipher::CipherResult;

[[noreturn]] void Fault(const char* what, CipherResult result = CipherResult::Success)
{
    std::fprintf(stderr, "fault: %s (code %d)\n", what, kyv::cipher::ResultNumber(result));
    std::abort();
}

Digest Sha256(const unsigned char* data, std::size_t size)
{
    Digest digest;
    crypto_hash_sha256(digest.data(), data, size);
    return digest;
}

Bytes Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct State {
    fs::path folder;
    std::unique_ptr<kyv::cipher::ChunkedCipherEngine> engine;
    std::optional<kyv::cipher::Key> key;
    std::set<Digest> validFiles;  // the only files allowed to decrypt: the recorded successes
    Bytes sealedHeader;           // header prefix for the sealed-header mode
    std::array<unsigned char, format::kKeySize> fileKey{};
};

State& Global()
{
    static State state = [] {
        State s;
        if (sodium_init() < 0) {
            Fault("libsodium");
        }
        s.folder = fs::path("/dev/shm") / ("kyv-fuzz-" + std::to_string(::getpid()));

        s.engine = kyv::cipher::ChunkedCipherEngine::Make(kPolicy);
        s.key = kyv::cipher::Key::Copy({reinterpret_cast<const unsigned char*>(kKey.data()), kKey.size()});
        if (!s.engine || !s.key) {
            Fault("engine");
        }
        s.engine->SetMaxThreads(1);
        for (const auto& entry : fs::directory_iterator(KYV_CIPHER_VECTORS)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("success-", 0) == 0 && entry.path().extension() == ".kyv") {
                const Bytes bytes = Read(entry.path());
                s.validFiles.insert(Sha256(bytes.data(), bytes.size()));
            }
        }
        // A header of this run, whose length field the sealed-header mode seals anew.
        kyv::cipher::KeySchedule keys;
        keys.SetKey(reinterpret_cast<const unsigned char*>(kKey.data()), kKey.size());
        const auto master = keys.EncryptionKey(kPolicy.encrypt);
        s.sealedHeader.assign(format::kHeaderSize, 0);
        s.sealedHeader[format::kVersionOffset] = format::kVersion;
        s.sealedHeader[format::kOpsLimitOffset] = master.cost.opsLimit;
        s.sealedHeader[format::kMemLimitOffset] = master.cost.memLimitLog2;
        std::copy(master.salt.begin(), master.salt.end(), s.sealedHeader.begin() + format::kSaltOffset);
        randombytes_buf(s.sealedHeader.data() + format::kFileNonceOffset, format::kFileNonceSize);
        if (master.key == nullptr ||
            !kyv::cipher::DeriveFileKey(master.key, s.sealedHeader.data(), s.fileKey.data())) {
            Fault("key schedule");
        }
        return s;
    }();
    return state;
}

Bytes SealedHeaderFile(State& s, const unsigned char* data, std::size_t size)
{
    // The first 8 bytes are the claimed plaintext length, little-endian.
    unsigned char field[format::kLengthFieldSize] = {};
    std::copy_n(data, std::min(size, sizeof field), field);
    Bytes file = s.sealedHeader;
    const auto nonce = format::LengthFieldNonce();
    crypto_aead_chacha20poly1305_ietf_encrypt(file.data() + format::kSealedLengthOffset, nullptr, field,
                                              sizeof field, file.data(), format::kPublicHeaderSize, nullptr,
                                              nonce.data(), s.fileKey.data());
    if (size > sizeof field) {
        file.insert(file.end(), data + sizeof field, data + size);
    }
    return file;
}

// Whether `result` is one the engine documents (a forged number would fall through the switch).
bool IsEngineCode(CipherResult result)
{
    switch (result) {
        case CipherResult::Success:
        case CipherResult::InputNotFound:
        case CipherResult::InputCannotBeOpened:
        case CipherResult::OutputCannotBeOpened:
        case CipherResult::ReadError:
        case CipherResult::WriteError:
        case CipherResult::KeyIncorrectOrHeaderCorrupt:
        case CipherResult::DiskFull:
        case CipherResult::ReadErrorAfterOutput:
        case CipherResult::WriteErrorAfterOutput:
        case CipherResult::ChunkAuthenticationFailed:
            return true;
        default:
            return kyv::cipher::IsExpansionError(result);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    State& s = Global();
    Bytes file;
    const bool sealedMode = size > 0 && (data[0] & 1) != 0;
    if (sealedMode) {
        file = SealedHeaderFile(s, data + 1, size - 1);
    } else if (size > 0) {
        file.assign(data + 1, data + size);
    }
    // The folder lives for one input only, so that nothing is left behind when the run ends.
    fs::create_directories(s.folder);
    const fs::path input = s.folder / "input.kyv";
    const fs::path output = s.folder / "output.bin";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    const CipherResult code = s.engine->Decrypt(*s.key, input, output).result;
    if (!IsEngineCode(code)) {
        Fault("unknown result code", code);
    }
    // Even behind a correctly sealed header every chunk needs the key: only a recorded file,
    // unmodified, may decrypt.
    if (code == CipherResult::Success && !s.validFiles.count(Sha256(file.data(), file.size()))) {
        Fault("a file the engine did not write decrypted", code);
    }
    const bool outputExists = fs::exists(output);
    // Stricter than MayLeavePartialPlaintext: a version 1 file found too long or short leaves nothing.
    const bool mayHoldOutput = code == CipherResult::Success || code == CipherResult::ReadErrorAfterOutput ||
                               code == CipherResult::WriteErrorAfterOutput ||
                               code == CipherResult::ChunkAuthenticationFailed;
    if (outputExists && !mayHoldOutput) {
        Fault("output left behind after a failure", code);
    }
    if (code == CipherResult::Success && !outputExists) {
        Fault("success without output", code);
    }
    for (const auto& entry : fs::directory_iterator(s.folder)) {
        if (entry.path() != input && entry.path() != output) {
            Fault("stray working file", code);
        }
    }
    fs::remove_all(s.folder);
    return 0;
}
