#include "CipherTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace kyv::cipher::test {

std::string TestKey(char fill)
{
    std::string key(kKeyLength, fill);
    key.replace(0, 10, "TESTKEY-01");
    return key;
}

Key KeyOf(const std::string& text)
{
    return Key::Copy({reinterpret_cast<const unsigned char*>(text.data()), text.size()}).value();
}

Bytes ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

Bytes MakePlaintext(Content content, std::size_t size, std::uint32_t seed)
{
    Bytes bytes(size, 0);
    std::mt19937 random(seed);
    static const std::string kText =
        "It was the best of times, it was the worst of times, it was the age of wisdom.\r\n";
    for (std::size_t i = 0; i < size; ++i) {
        switch (content) {
            case Content::Zeros:
                break;
            case Content::Text:
                bytes[i] = static_cast<unsigned char>(kText[i % kText.size()]);
                break;
            case Content::Random:
                bytes[i] = static_cast<unsigned char>(random());
                break;
        }
    }
    return bytes;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CipherTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    // Memory-backed where there is one: the tests rewrite files hundreds of times.
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    folder_ = base / ("kyv-cipher-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

void CipherTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::remove(folder_.parent_path(), ignored);  // only once it is empty
}

std::unique_ptr<ChunkedCipherEngine> CipherTest::MakeEngine() const
{
    auto engine = ChunkedCipherEngine::Make(kCheapPolicy);
    EXPECT_NE(engine, nullptr);
    return engine;
}

CipherResult CipherTest::EncryptBytes(ChunkedCipherEngine& engine, const Bytes& plaintext,
                                      const std::string& key)
{
    WriteBytes(Path("plain.bin"), plaintext);
    return Encrypt(engine, Path("plain.bin"), Path("enc.kyv"), key);
}

CipherResult CipherTest::Encrypt(ChunkedCipherEngine& engine, const std::filesystem::path& in,
                                 const std::filesystem::path& out, const std::string& key)
{
    const Outcome outcome = engine.Encrypt(KeyOf(key), in, out);
    lastOutputLength_ = outcome.outputLength;
    return outcome.result;
}

CipherResult CipherTest::Decrypt(ChunkedCipherEngine& engine, const std::filesystem::path& in,
                                 const std::filesystem::path& out, const std::string& key)
{
    const Outcome outcome = engine.Decrypt(KeyOf(key), in, out);
    lastOutputLength_ = outcome.outputLength;
    return outcome.result;
}

}  // namespace kyv::cipher::test
