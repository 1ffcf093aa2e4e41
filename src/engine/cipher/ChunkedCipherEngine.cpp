#include "engine/cipher/ChunkedCipherEngine.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <exception>
#include <optional>
#include <string_view>
#include <thread>

#include "engine/cipher/ChaChaPoly.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/FileFormat.h"
#include "engine/cipher/OutputFile.h"
#include "engine/cipher/SecretBuffer.h"

namespace kyv::cipher {

namespace {

using format::kHeaderSize;

// A caller that holds its input open names it /proc/self/fd/N. Opening that path would walk /proc
// for a new description of the same file; reading N itself reads the same file (the engine reads at
// explicit offsets, so the shared position does not matter) at no cost, which counts for many small
// files. The caller keeps N open for the whole call. -1 for any other path.
int CallersDescriptor(const std::filesystem::path& path)
{
    static constexpr std::string_view kPrefix = "/proc/self/fd/";
    const std::string_view text = path.native();
    if (!text.starts_with(kPrefix) || text.size() == kPrefix.size()) {
        return -1;
    }
    int descriptor = -1;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data() + kPrefix.size(), end, descriptor);
    return error == std::errc() && rest == end && descriptor >= 0 ? descriptor : -1;
}

class InputFile {
public:
    InputFile() = default;
    ~InputFile()
    {
        if (owned_) {
            ::close(fd_);
        }
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Success, InputNotFound or InputCannotBeOpened; only regular files are accepted.
    [[nodiscard]] CipherResult Open(const std::filesystem::path& path)
    {
        fd_ = CallersDescriptor(path);
        if (fd_ < 0) {
            // Without O_NONBLOCK a named pipe put in the file's place would hang the open.
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
            if (fd_ < 0) {
                return errno == ENOENT || errno == ENOTDIR ? CipherResult::InputNotFound
                                                           : CipherResult::InputCannotBeOpened;
            }
            owned_ = true;
        }
        struct stat status {};
        if (::fstat(fd_, &status) != 0) {
            // A name of the caller's descriptors that is no open descriptor leads nowhere.
            return errno == EBADF ? CipherResult::InputNotFound : CipherResult::InputCannotBeOpened;
        }
        if (!S_ISREG(status.st_mode) || status.st_size < 0) {
            return CipherResult::InputCannotBeOpened;
        }
        size_ = static_cast<std::uint64_t>(status.st_size);
        return CipherResult::Success;
    }
    [[nodiscard]] int Descriptor() const { return fd_; }
    [[nodiscard]] std::uint64_t Size() const { return size_; }

private:
    int fd_ = -1;
    bool owned_ = false;
    std::uint64_t size_ = 0;
};

// The input opened a second time, to be read past the system's cache (O_DIRECT).
class DirectInput {
public:
    DirectInput() = default;
    ~DirectInput()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    DirectInput(const DirectInput&) = delete;
    DirectInput& operator=(const DirectInput&) = delete;

    // False when the file system takes no direct reads, or the name no longer leads to `opened`.
    [[nodiscard]] bool Open(const std::filesystem::path& path, int opened)
    {
        fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC | O_NONBLOCK);
        struct stat direct {};
        struct stat first {};
        if (fd_ >= 0 && ::fstat(fd_, &direct) == 0 && ::fstat(opened, &first) == 0 &&
            direct.st_dev == first.st_dev && direct.st_ino == first.st_ino) {
            return true;
        }
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
        return false;
    }
    [[nodiscard]] int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
};

bool IsDiskFull(int error) { return error == ENOSPC || error == EDQUOT; }

CipherResult CreateCode(int error)
{
    return IsDiskFull(error) ? CipherResult::DiskFull : CipherResult::OutputCannotBeOpened;
}

CipherResult WriteCode(int error, bool afterOutput)
{
    if (IsDiskFull(error)) {
        return CipherResult::DiskFull;
    }
    return afterOutput ? CipherResult::WriteErrorAfterOutput : CipherResult::WriteError;
}

void StoreLength(std::uint64_t length, unsigned char* out)
{
    for (std::size_t i = 0; i < format::kLengthFieldSize; ++i) {
        out[i] = static_cast<unsigned char>(length >> (8 * i));
    }
}

std::uint64_t LoadLength(const unsigned char* in)
{
    std::uint64_t length = 0;
    for (std::size_t i = 0; i < format::kLengthFieldSize; ++i) {
        length |= std::uint64_t{in[i]} << (8 * i);
    }
    return length;
}

// Reads the header of an encrypted input: Success, or the result its decryption ends with.
CipherResult ReadHeader(int inputFd, std::uint64_t fileSize, format::Header& header)
{
    if (fileSize < kHeaderSize) {
        return CipherResult::EndsInsideHeader;
    }
    const ssize_t got = ::pread(inputFd, header.data(), header.size(), 0);
    if (got < 0) {
        return CipherResult::ReadError;
    }
    if (static_cast<std::size_t>(got) != header.size()) {
        return CipherResult::EndsInsideHeader;
    }
    if (header[format::kVersionOffset] != format::kVersion) {
        return CipherResult::KeyIncorrectOrHeaderCorrupt;
    }
    return CipherResult::Success;
}

KdfCost HeaderCost(const format::Header& header)
{
    return KdfCost{header[format::kOpsLimitOffset], header[format::kMemLimitOffset]};
}

format::Salt HeaderSalt(const format::Header& header)
{
    format::Salt salt;
    std::copy_n(header.begin() + format::kSaltOffset, salt.size(), salt.begin());
    return salt;
}

bool WithinCeiling(const KdfCost& cost, const KdfCost& ceiling)
{
    return format::CostIsValid(cost.opsLimit, cost.memLimitLog2) && cost.opsLimit <= ceiling.opsLimit &&
           cost.memLimitLog2 <= ceiling.memLimitLog2;
}

}  // namespace

KdfPolicy DefaultKdfPolicy()
{
    static_assert(crypto_pwhash_argon2id_OPSLIMIT_MODERATE == 3);
    static_assert(crypto_pwhash_argon2id_MEMLIMIT_MODERATE == (1u << 28));
    return KdfPolicy{KdfCost{3, 28}, KdfCost{12, 30}};
}

std::unique_ptr<CipherEngine> MakeCipherEngine() { return MakeCipherEngine(DefaultKdfPolicy()); }

std::unique_ptr<CipherEngine> MakeCipherEngine(const KdfPolicy& policy)
{
    return ChunkedCipherEngine::Make(policy);
}

std::unique_ptr<ChunkedCipherEngine> ChunkedCipherEngine::Make(const KdfPolicy& policy)
{
    if (!format::CostIsValid(policy.encrypt.opsLimit, policy.encrypt.memLimitLog2)) return nullptr;
    std::optional<Workspace> workspace = Workspace::Open();
    if (!workspace) return nullptr;
    return std::make_unique<ChunkedCipherEngine>(policy, std::move(*workspace));
}

ChunkedCipherEngine::ChunkedCipherEngine(const KdfPolicy& policy, Workspace workspace)
    : policy_(policy),
      workspace_(std::move(workspace)),
      maxThreads_(std::clamp(std::thread::hardware_concurrency(), 1u, 4u))
{
}

std::uint64_t ChunkedCipherEngine::BytesProcessed() const
{
    return progress_.load(std::memory_order_relaxed);
}

ChunkJob ChunkedCipherEngine::MakeChunkJob(int inputFd, int outputFd, bool encrypt, std::uint64_t length,
                                           ChaChaPoly& cipher, const unsigned char* fileKey,
                                           const format::Header& header)
{
    ChunkJob job;
    job.inputFd = inputFd;
    job.outputFd = outputFd;
    job.encrypt = encrypt;
    job.plaintextLength = length;
    job.fileKey = fileKey;
    job.cipher = &cipher;
    job.associatedData = header.data();
    job.associatedDataSize = header.size();
    job.progress = &progress_;
    job.maxThreads = maxThreads_;
    return job;
}

Outcome ChunkedCipherEngine::Encrypt(const Key& key, const std::filesystem::path& input,
                                     const std::filesystem::path& output)
{
    return RunFileCall(&ChunkedCipherEngine::Seal, key, input, output);
}

Outcome ChunkedCipherEngine::Decrypt(const Key& key, const std::filesystem::path& input,
                                     const std::filesystem::path& output)
{
    return RunFileCall(&ChunkedCipherEngine::Open, key, input, output);
}

Outcome ChunkedCipherEngine::Verify(const Key& key, const std::filesystem::path& input)
{
    return RunFileCall(&ChunkedCipherEngine::Open, key, input, std::filesystem::path());
}

Outcome ChunkedCipherEngine::RunFileCall(FileCall call, const Key& key, const std::filesystem::path& input,
                                         const std::filesystem::path& output)
{
    progress_.store(0, std::memory_order_relaxed);
    if (key.Empty()) return {CipherResult::OutputCannotBeOpened};
    try {
        return (this->*call)(workspace_.KeysOf(key), input, output);
    } catch (const std::exception&) {
        return {CipherResult::WriteError};  // out of memory; the output was removed while unwinding
    }
}

Outcome ChunkedCipherEngine::Seal(KeySchedule& keys, const std::filesystem::path& input,
                                  const std::filesystem::path& output)
{
    InputFile in;
    if (const CipherResult code = in.Open(input); code != CipherResult::Success) {
        return {code};
    }
    const std::uint64_t length = in.Size();
    if (length > format::kMaxPlaintextLength) {
        return {CipherResult::InputCannotBeOpened};
    }

    const KeySchedule::MasterKey master = keys.EncryptionKey(policy_.encrypt);
    if (master.key == nullptr) {
        return {CipherResult::OutputCannotBeOpened};  // no memory for the derivation: nothing can be written
    }
    format::Header header{};
    header[format::kVersionOffset] = format::kVersion;
    header[format::kOpsLimitOffset] = master.cost.opsLimit;
    header[format::kMemLimitOffset] = master.cost.memLimitLog2;
    std::copy(master.salt.begin(), master.salt.end(), header.begin() + format::kSaltOffset);
    randombytes_buf(header.data() + format::kFileNonceOffset, format::kFileNonceSize);

    unsigned char* fileKey = workspace_.FileKey();
    if (!DeriveFileKey(master.key, header.data(), fileKey)) {
        return {CipherResult::OutputCannotBeOpened};
    }
    unsigned char lengthField[format::kLengthFieldSize];
    StoreLength(length, lengthField);
    // The same cipher then seals the chunks that fit on this thread.
    ChaChaPoly sealer(fileKey, ChaChaPoly::Direction::Seal);
    if (!sealer.Seal(header.data() + format::kSealedLengthOffset, lengthField, sizeof lengthField,
                     header.data(), format::kPublicHeaderSize, format::LengthFieldNonce())) {
        return {CipherResult::OutputCannotBeOpened};  // no memory for the cipher's context
    }

    OutputFile out;
    if (const int error = out.Create(output); error != 0) {
        return {CreateCode(error)};
    }

    // The header goes out with the first chunks; a file that grew while it was read is a read error.
    const ChunkJob job =
        MakeChunkJob(in.Descriptor(), out.Descriptor(), true, length, sealer, fileKey, header);
    switch (RunChunkPipeline(job).failure) {
        case ChunkResult::Failure::None:
            break;
        case ChunkResult::Failure::Read:
        case ChunkResult::Failure::InputChanged:
            return {CipherResult::ReadError};
        case ChunkResult::Failure::DiskFull:
            return {CipherResult::DiskFull};
        case ChunkResult::Failure::NoMemory:
        case ChunkResult::Failure::Write:
        case ChunkResult::Failure::Authentication:
            return {CipherResult::WriteError};
    }
    if (const int error = out.Commit(); error != 0) {
        return {WriteCode(error, false)};
    }
    return {CipherResult::Success, format::EncryptedSize(length)};
}

CipherResult ChunkedCipherEngine::OpenHeader(KeySchedule& keys, int inputFd, std::uint64_t fileSize,
                                             format::Header& header, std::optional<ChaChaPoly>& opener,
                                             std::uint64_t& length)
{
    if (const CipherResult code = ReadHeader(inputFd, fileSize, header); code != CipherResult::Success) {
        return code;
    }
    const KdfCost cost = HeaderCost(header);
    if (!WithinCeiling(cost, policy_.decryptCeiling)) {
        return CipherResult::KeyIncorrectOrHeaderCorrupt;
    }
    const unsigned char* master = keys.DecryptionKey(HeaderSalt(header), cost);
    if (master == nullptr) {
        return CipherResult::OutputCannotBeOpened;  // no memory for the derivation
    }
    if (!DeriveFileKey(master, header.data(), workspace_.FileKey())) {
        return CipherResult::OutputCannotBeOpened;
    }
    unsigned char lengthField[format::kLengthFieldSize];
    opener.emplace(workspace_.FileKey(), ChaChaPoly::Direction::Open);
    if (!opener->Valid()) {
        return CipherResult::OutputCannotBeOpened;  // no memory for the cipher's context
    }
    if (!opener->Open(lengthField, header.data() + format::kSealedLengthOffset,
                      format::kLengthFieldSize + format::kTagSize, header.data(), format::kPublicHeaderSize,
                      format::LengthFieldNonce())) {
        return CipherResult::KeyIncorrectOrHeaderCorrupt;
    }
    length = LoadLength(lengthField);
    return length > format::kMaxPlaintextLength ? CipherResult::KeyIncorrectOrHeaderCorrupt
                                                : CipherResult::Success;
}

bool ChunkedCipherEngine::IsEncryptedWithKey(const Key& key, const std::filesystem::path& input)
{
    if (key.Empty()) {
        return false;
    }
    InputFile in;
    format::Header header{};
    std::optional<ChaChaPoly> opener;
    std::uint64_t length = 0;
    try {
        return in.Open(input) == CipherResult::Success &&
               OpenHeader(workspace_.KeysOf(key), in.Descriptor(), in.Size(), header, opener, length) ==
                   CipherResult::Success;
    } catch (const std::exception&) {
        return false;  // no memory: the file is looked at the usual way
    }
}

Outcome ChunkedCipherEngine::Open(KeySchedule& keys, const std::filesystem::path& input,
                                  const std::filesystem::path& output)
{
    // A check writes nothing.
    const bool verifyOnly = output.empty();
    InputFile in;
    if (const CipherResult code = in.Open(input); code != CipherResult::Success) {
        return {code};
    }
    const std::uint64_t fileSize = in.Size();
    format::Header header{};
    std::optional<ChaChaPoly> opener;
    std::uint64_t length = 0;
    if (const CipherResult code = OpenHeader(keys, in.Descriptor(), fileSize, header, opener, length);
        code != CipherResult::Success) {
        return {code};
    }
    const std::uint64_t expected = format::EncryptedSize(length);
    if (fileSize < expected) {
        return {CipherResult::Truncated};
    }
    if (fileSize > expected) {
        return {CipherResult::BytesAppended};
    }

    OutputFile out;
    // Verification checks the tags alone, with a cipher of its own for this thread.
    std::optional<ChaChaPoly> checker;
    DirectInput direct;
    if (verifyOnly) {
        // What was just written may still be in memory: the check reads what the device holds,
        // bypassing the cache where the file system allows, or after dropping the cached pages.
        if (!direct.Open(input, in.Descriptor())) {
            ::posix_fadvise(in.Descriptor(), 0, 0, POSIX_FADV_DONTNEED);
        }
        checker.emplace(workspace_.FileKey(), ChaChaPoly::Direction::Check);
        if (!checker->Valid()) {
            return {CipherResult::OutputCannotBeOpened};  // no memory for the cipher's context
        }
    } else if (const int error = out.Create(output); error != 0) {
        return {CreateCode(error)};
    }
    progress_.fetch_add(kHeaderSize, std::memory_order_relaxed);

    ChunkJob job = MakeChunkJob(in.Descriptor(), verifyOnly ? -1 : out.Descriptor(), false, length,
                                verifyOnly ? *checker : *opener, workspace_.FileKey(), header);
    job.authenticateOnly = verifyOnly;
    job.directInputFd = direct.Descriptor();
    const ChunkResult result = RunChunkPipeline(job);

    CipherResult code = CipherResult::Success;
    switch (result.failure) {
        case ChunkResult::Failure::None:
            break;
        case ChunkResult::Failure::DiskFull:
            return {CipherResult::DiskFull};  // the partial output is removed to give the space back
        case ChunkResult::Failure::Read:
        case ChunkResult::Failure::InputChanged:
            code = CipherResult::ReadErrorAfterOutput;
            break;
        case ChunkResult::Failure::NoMemory:
        case ChunkResult::Failure::Write:
            code = CipherResult::WriteErrorAfterOutput;
            break;
        case ChunkResult::Failure::Authentication:
            code = CipherResult::ChunkAuthenticationFailed;
            break;
    }
    if (verifyOnly) {
        return {code, code == CipherResult::Success ? length : 0};
    }
    if (code != CipherResult::Success) {
        // Keep exactly the chunks that passed authentication, or nothing if there are none.
        const std::uint64_t goodBytes = result.failedChunk * format::kChunkSize;
        if (goodBytes == 0 || out.Truncate(goodBytes) != 0 || out.Commit() != 0) {
            out.Discard();
        }
        return {code};
    }
    if (const int error = out.Commit(); error != 0) {
        return {WriteCode(error, false)};  // the output is gone: no partial plaintext anywhere
    }
    return {CipherResult::Success, length};
}

}  // namespace kyv::cipher
