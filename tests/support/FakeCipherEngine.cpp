#include "support/FakeCipherEngine.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace kyv::test {

namespace {

const std::string kMagic = "FAKEKYV1";

// A keystream that makes the output look random to the randomness measure.
std::string Transform(const std::string& bytes)
{
    std::string out = bytes;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (char& byte : out) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ static_cast<unsigned char>(state >> 24));
    }
    return out;
}

bool WriteWorkingFile(const std::filesystem::path& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put <= 0) {
            ::close(fd);
            return false;
        }
        written += static_cast<std::size_t>(put);
    }
    const bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// As the real engine: a new file that takes the name when complete, replacing whatever the name was
// (a link included), never writing through it.
bool WriteFlushed(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::path working = path;
    working += ".fakepart";
    if (!WriteWorkingFile(working, bytes)) return false;
    std::error_code error;
    std::filesystem::rename(working, path, error);
    return !error;
}

}  // namespace

std::string FakeCipherEngine::Encrypt(const std::string& plain) { return kMagic + Transform(plain); }

bool FakeCipherEngine::Decrypt(const std::string& sealed, std::string& plain)
{
    if (sealed.compare(0, kMagic.size(), kMagic) != 0) return false;
    plain = Transform(sealed.substr(kMagic.size()));
    return true;
}

void FakeCipherEngine::NoteKey(const cipher::Key& key)
{
    ++keyedCalls;
    lastKeyLength = key.Bytes().size();
    lastKeyWasGiven = !key.Empty() && lastKeyLength == cipher::kKeyLength;
}

cipher::Outcome FakeCipherEngine::Encrypt(const cipher::Key& key, const std::filesystem::path& input,
                                          const std::filesystem::path& output)
{
    return Run(key, true, input, output);
}

cipher::Outcome FakeCipherEngine::Decrypt(const cipher::Key& key, const std::filesystem::path& input,
                                          const std::filesystem::path& output)
{
    return Run(key, false, input, output);
}

cipher::Outcome FakeCipherEngine::Verify(const cipher::Key& key, const std::filesystem::path& input)
{
    NoteKey(key);
    ++verifications;
    if (beforeVerify) beforeVerify(input);
    std::string plain;
    if (!Decrypt(ReadWholeFile(input), plain)) return {cipher::CipherResult::ChunkAuthenticationFailed};
    return {cipher::CipherResult::Success, plain.size()};
}

bool FakeCipherEngine::IsEncryptedWithKey(const cipher::Key& key, const std::filesystem::path& input)
{
    NoteKey(key);
    return ReadWholeFile(input).compare(0, kMagic.size(), kMagic) == 0;
}

cipher::Outcome FakeCipherEngine::Run(const cipher::Key& key, bool encrypt,
                                      const std::filesystem::path& input, const std::filesystem::path& output)
{
    NoteKey(key);
    ++calls;
    bytesProcessed = 0;
    std::error_code sizeError;
    lastInputLength = std::filesystem::file_size(input, sizeError);
    lastCallThread = std::this_thread::get_id();
    // The walk hands over its open file as /proc/self/fd/N; hooks and forced results go by the file's name.
    std::error_code linkError;
    const std::filesystem::path named =
        input.parent_path() == "/proc/self/fd" ? std::filesystem::read_symlink(input, linkError) : input;
    if (duringCall) duringCall(named);
    const QString name = QString::fromStdString(named.filename().string());
    if (forcedResults.contains(name)) {
        const cipher::CipherResult result = forcedResults.value(name);
        if (cipher::MayLeavePartialPlaintext(result)) WriteFlushed(output, "partial");
        return {result};
    }
    std::error_code error;
    if (!std::filesystem::exists(input, error)) return {cipher::CipherResult::InputNotFound};
    const std::string in = ReadWholeFile(input);
    std::string out;
    if (encrypt) {
        out = Encrypt(in);
    } else if (!Decrypt(in, out)) {
        return {cipher::CipherResult::KeyIncorrectOrHeaderCorrupt};
    }
    bytesProcessed = in.size();
    if (!WriteFlushed(output, out)) return {cipher::CipherResult::OutputCannotBeOpened};
    return {cipher::CipherResult::Success, out.size()};
}

cipher::Key EngineKeyOf(std::string_view text)
{
    return cipher::Key::Copy({reinterpret_cast<const unsigned char*>(text.data()), text.size()}).value();
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string PlainBytes(std::size_t length, char seed)
{
    static const std::string kText = "The quick brown fox jumps over the lazy dog. ";
    std::string bytes;
    bytes.reserve(length);
    for (std::size_t i = 0; i < length; ++i) bytes += i == 0 ? seed : kText[i % kText.size()];
    return bytes;
}

}  // namespace kyv::test
