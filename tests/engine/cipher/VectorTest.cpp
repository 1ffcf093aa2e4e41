// The recorded vectors of tests/data/cipher decrypt exactly as their descriptions say.

#include <sodium.h>

#include <fstream>
#include <map>

#include "CipherTestSupport.h"

namespace kyv::cipher::test {
namespace {

constexpr int kExpectedVectors = 16;

std::map<std::string, std::string> ReadDescription(const std::filesystem::path& path)
{
    std::map<std::string, std::string> fields;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(": ");
        if (line.empty() || line[0] == '#' || colon == std::string::npos) {
            continue;
        }
        fields[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return fields;
}

std::string Sha256Hex(const Bytes& bytes)
{
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, bytes.data(), bytes.size());
    char hex[2 * sizeof digest + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    return hex;
}

const std::map<std::string, std::vector<int>> kCodesOfExpectation = {
    {"success", {ResultNumber(CipherResult::Success)}},
    {"wrong key", {ResultNumber(CipherResult::KeyIncorrectOrHeaderCorrupt)}},
    {"header failure", {ResultNumber(CipherResult::KeyIncorrectOrHeaderCorrupt)}},
    {"payload failure", {ResultNumber(CipherResult::ChunkAuthenticationFailed)}},
    {"truncated", {-21, -22, -23, -24, -25, -26, -27, -28, -29}},
};

TEST_F(CipherTest, RecordedVectorsDecryptAsDescribed)
{
    const std::filesystem::path vectors = std::filesystem::path(KYV_TEST_DATA) / "cipher";
    // The ceiling admits the program's default cost of the one vector made with it.
    const auto made = ChunkedCipherEngine::Make(KdfPolicy{kCheapPolicy.encrypt, DefaultKdfPolicy().encrypt});
    ASSERT_NE(made, nullptr);
    ChunkedCipherEngine& engine = *made;
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(vectors)) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        ++found;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        auto fields = ReadDescription(entry.path());
        ASSERT_EQ(fields["key"].size(), kKeyLength);
        ASSERT_TRUE(kCodesOfExpectation.count(fields["expect"])) << fields["expect"];
        const int code = std::stoi(fields["code"]);
        const auto& allowed = kCodesOfExpectation.at(fields["expect"]);
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), code), allowed.end());

        const std::filesystem::path output = Path(name + ".out");
        EXPECT_EQ(ResultNumber(Decrypt(engine, vectors / (name + ".kyv"), output, fields["key"])), code);
        if (fields.count("output")) {
            EXPECT_EQ(fields["output"], "none");
            EXPECT_FALSE(std::filesystem::exists(output));
        } else {
            const Bytes written = ReadBytes(output);
            EXPECT_EQ(std::to_string(written.size()), fields["output-length"]);
            EXPECT_EQ(Sha256Hex(written), fields["output-sha256"]);
            if (code == ResultNumber(CipherResult::Success)) {
                EXPECT_EQ(fields["output-sha256"], fields["plaintext-sha256"]);
            }
        }
    }
    EXPECT_EQ(found, kExpectedVectors);
}

}  // namespace
}  // namespace kyv::cipher::test
