// Properties of the randomness measure on byte strings: random data stays above 0.9 at every length,
// structured data falls below 0.8, and the key threshold 0.88 separates random keys from typed ones.

#include <gtest/gtest.h>

#include <sodium.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/Randomness.h"
#include "engine/filelib/RandomnessAccumulator.h"
#include "engine/filelib/RandomnessScore.h"

namespace kyv::filelib {
namespace {

using test::SeededRandomBytes;

double Measure(const std::vector<unsigned char>& bytes)
{
    return RandomnessMeasure(bytes.data(), bytes.size(), bytes.size());
}

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<unsigned char> Repeat(const std::vector<unsigned char>& pattern, std::size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = pattern[i % pattern.size()];
    }
    return bytes;
}

// What the key panel does to a typed key: drop codes of 32 or below, upper-case letters.
std::string NormalizedTypedKey(const std::string& typed)
{
    std::string key;
    for (const unsigned char c : typed) {
        if (c > 32) {
            key += static_cast<char>(std::toupper(c));
        }
    }
    return key.substr(0, 64);
}

TEST(RandomnessMeasure, NoRandom256ByteSampleOf100000FallsBelowPointNine)
{
    std::mt19937_64 generator(20261208);
    std::vector<unsigned char> sample(256);
    double lowest = 1.0;
    for (int draw = 0; draw < 100000; ++draw) {
        for (std::size_t i = 0; i < sample.size(); i += 8) {
            const std::uint64_t word = generator();
            for (int k = 0; k < 8; ++k) {
                sample[i + k] = static_cast<unsigned char>(word >> (8 * k));
            }
        }
        lowest = std::min(lowest, Measure(sample));
    }
    // Margin: the lowest of the 100,000 stays well clear of the threshold, not just above it.
    EXPECT_GT(lowest, 0.95);
}

class RandomDataLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(RandomDataLength, MeasuresAbovePointNine)
{
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const double measure = Measure(SeededRandomBytes(GetParam(), seed));
        EXPECT_GT(measure, 0.95) << "seed " << seed;
        EXPECT_LE(measure, 1.0) << "seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(FromSmallToLarge, RandomDataLength,
                         ::testing::Values(256, 257, 300, 511, 1000, 4095, 4096, 4097, 65536, 1 << 20,
                                           (1 << 20) + 7, 16 << 20));

TEST(RandomnessMeasure, CipherOutputBehindAFixedHeaderMeasuresAtLeastPointEightNine)
{
    // The engine's files carry a fixed header before authenticated ciphertext; whatever the plaintext,
    // 256 bytes of such output must measure at least 0.89.
    ASSERT_GE(sodium_init(), 0);
    const std::vector<std::vector<unsigned char>> plaintexts = {
        std::vector<unsigned char>(4096, 0), Repeat(Bytes("ABABABAB"), 4096),
        Repeat(std::vector<unsigned char>{0, 1, 2, 3, 4, 5, 6, 7}, 4096), SeededRandomBytes(4096, 9)};
    const std::string header = "KYV-CIPHER-FILE\x01";
    for (const auto& plaintext : plaintexts) {
        for (const std::size_t total : {256, 300, 1024, 4096}) {
            for (int draw = 0; draw < 200; ++draw) {
                std::vector<unsigned char> key(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
                std::vector<unsigned char> nonce(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
                randombytes_buf(key.data(), key.size());
                randombytes_buf(nonce.data(), nonce.size());
                const std::size_t plainLength =
                    total - header.size() - nonce.size() - crypto_aead_xchacha20poly1305_ietf_ABYTES;
                std::vector<unsigned char> file(header.begin(), header.end());
                file.insert(file.end(), nonce.begin(), nonce.end());
                const std::size_t cipherStart = file.size();
                file.resize(total);
                unsigned long long cipherLength = 0;
                crypto_aead_xchacha20poly1305_ietf_encrypt(file.data() + cipherStart, &cipherLength,
                                                           plaintext.data(), plainLength, nullptr, 0, nullptr,
                                                           nonce.data(), key.data());
                ASSERT_EQ(cipherStart + cipherLength, total);
                ASSERT_GE(Measure(file), 0.89) << "output of " << total << " bytes";
            }
        }
    }
}

struct StructuredCase {
    const char* name;
    std::vector<unsigned char> bytes;
};

std::vector<StructuredCase> StructuredCases()
{
    std::vector<unsigned char> ramp(256);
    for (int i = 0; i < 256; ++i) {
        ramp[i] = static_cast<unsigned char>(i);
    }
    std::vector<unsigned char> descendingRamp(ramp.rbegin(), ramp.rend());
    std::vector<unsigned char> stepOfSeven(256);
    for (int i = 0; i < 256; ++i) {
        stepOfSeven[i] = static_cast<unsigned char>(i * 7);
    }
    // Sixteen-bit little-endian text, as older word processors store it, in 512-byte sectors with
    // zero padding.
    std::vector<unsigned char> wideTextDocument;
    const std::string sentence = "The quarterly figures are attached; please review them before Monday. ";
    for (int sector = 0; sector < 32; ++sector) {
        std::vector<unsigned char> block(512, 0);
        for (std::size_t i = 0; i < 200 && i < sentence.size() * 3; ++i) {
            block[2 * i] = static_cast<unsigned char>(sentence[(i + sector) % sentence.size()]);
        }
        wideTextDocument.insert(wideTextDocument.end(), block.begin(), block.end());
    }
    return {
        {"ramp 0..255 repeated, 256 bytes", ramp},
        {"ramp 0..255 repeated, 1 MiB", Repeat(ramp, 1 << 20)},
        {"descending ramp, 64 KiB", Repeat(descendingRamp, 1 << 16)},
        {"ramp in steps of 7, 64 KiB", Repeat(stepOfSeven, 1 << 16)},
        {"one repeated byte, 256 bytes", std::vector<unsigned char>(256, 0x41)},
        {"one repeated zero byte, 1 MiB", std::vector<unsigned char>(1 << 20, 0)},
        {"alternating 00 FF", Repeat({0x00, 0xFF}, 4096)},
        {"alternating 'A' 'B', 256 bytes", Repeat(Bytes("AB"), 256)},
        {"alternating 55 AA", Repeat({0x55, 0xAA}, 65536)},
        {"random 16-byte block repeated", Repeat(SeededRandomBytes(16, 3), 65536)},
        {"text", Repeat(Bytes("It was the best of times, it was the worst of times; it was the age of "
                              "wisdom, it was the age of foolishness. "),
                        8192)},
        {"source code",
         Repeat(Bytes("for (int i = 0; i < count; ++i) {\n    total += values[i] * 2;\n}\n"), 8192)},
        {"sixteen-bit text document", wideTextDocument},
    };
}

TEST(RandomnessMeasure, StructuredDataMeasuresBelowPointEight)
{
    for (const auto& [name, bytes] : StructuredCases()) {
        const double measure = Measure(bytes);
        EXPECT_LT(measure, 0.8) << name;
        EXPECT_GE(measure, 0.0) << name;
    }
}

TEST(RandomnessMeasure, RandomKeysOf64BytesReachPointEightEightIn999Of1000Draws)
{
    std::mt19937 generator(64);
    std::uniform_int_distribution<int> code(33, 255);
    int accepted = 0;
    for (int draw = 0; draw < 1000; ++draw) {
        std::vector<unsigned char> key(64);
        for (auto& byte : key) {
            byte = static_cast<unsigned char>(code(generator));
        }
        accepted += RandomnessMeasure(key.data(), 64, 64) >= 0.88 ? 1 : 0;
    }
    EXPECT_GE(accepted, 999);
}

TEST(RandomnessMeasure, TypedKeysOf64CharactersStayBelowPointEightEight)
{
    const std::vector<std::string> typed = {
        "The quick brown fox jumps over the lazy dog while the cat watches from the windowsill.",
        "my secret password for the family photo archive is not written down anywhere, honestly!",
        "Four score and seven years ago our fathers brought forth on this continent a new nation",
        "correct horse battery staple correct horse battery staple correct horse battery staple",
        "Meet me at the old mill at 7:30 on Friday, 12 March 2027, and bring the blue folder.",
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
        "1234567890123456789012345678901234567890123456789012345678901234567890",
        "qwertyuiopasdfghjklzxcvbnmqwertyuiopasdfghjklzxcvbnmqwertyuiopasdfghjklzxcvbnm",
        "Jede Nacht um halb drei geht der alte Nachbar mit seinem Hund zum Fluss hinunter.",
        "To be, or not to be, that is the question: Whether 'tis nobler in the mind to suffer",
    };
    for (const auto& phrase : typed) {
        const std::string key = NormalizedTypedKey(phrase);
        ASSERT_EQ(key.size(), 64U) << phrase;
        const auto* bytes = reinterpret_cast<const unsigned char*>(key.data());
        EXPECT_LT(RandomnessMeasure(bytes, 64, 64), 0.88) << key;
    }
}

TEST(RandomnessMeasure, ErrorValuesForNothingAndTooLittle)
{
    const std::vector<unsigned char> bytes = SeededRandomBytes(64, 1);
    EXPECT_EQ(RandomnessMeasure(bytes.data(), 0, 64), kRandomnessEmpty);
    EXPECT_EQ(RandomnessMeasure(nullptr, 64, 64), kRandomnessEmpty);
    EXPECT_EQ(RandomnessMeasure(bytes.data(), 63, 64), kRandomnessTooShort);
    EXPECT_GT(RandomnessMeasure(bytes.data(), 64, 64), 0.88);
    EXPECT_GT(RandomnessMeasure(bytes.data(), 64, 0), 0.88);
}

TEST(RandomnessAccumulator, PiecesGiveTheSameCountsAsOneWhole)
{
    // Piece sizes cross the boundary between the direct and the pair-table counting, and odd sizes
    // split pairs between pieces.
    const std::vector<unsigned char> data = SeededRandomBytes(300001, 17);
    RandomnessAccumulator whole;
    whole.Add(data.data(), data.size());
    for (const std::size_t piece : {1UL, 2UL, 3UL, 255UL, 4097UL, 65535UL, 65536UL, 65537UL, 131071UL}) {
        RandomnessAccumulator pieces;
        for (std::size_t offset = 0; offset < data.size(); offset += piece) {
            pieces.Add(data.data() + offset, std::min(piece, data.size() - offset));
        }
        EXPECT_EQ(pieces.ByteCount(), data.size()) << piece;
        EXPECT_EQ(pieces.ByteValues(), whole.ByteValues()) << piece;
        EXPECT_EQ(pieces.Steps(), whole.Steps()) << piece;
        EXPECT_DOUBLE_EQ(pieces.Measure(), whole.Measure()) << piece;
    }
    std::uint64_t steps = 0;
    for (const std::uint64_t count : whole.Steps()) {
        steps += count;
    }
    EXPECT_EQ(steps, data.size() / 2);
}

TEST(RandomnessAccumulator, PartsMergedGiveTheCountsOfTheWhole)
{
    const std::vector<unsigned char> data = SeededRandomBytes(3 * 65536 + 5, 21);
    RandomnessAccumulator whole;
    whole.Add(data.data(), data.size());
    RandomnessAccumulator first;
    RandomnessAccumulator second;
    RandomnessAccumulator third;
    first.Add(data.data(), 65536);
    second.Add(data.data() + 65536, 65536);
    third.Add(data.data() + 2 * 65536, data.size() - 2 * 65536);
    first.Merge(third);
    first.Merge(second);
    EXPECT_EQ(first.ByteCount(), whole.ByteCount());
    EXPECT_EQ(first.ByteValues(), whole.ByteValues());
    EXPECT_EQ(first.Steps(), whole.Steps());
}

TEST(RandomnessAccumulator, StepsWithinPairsWrapAroundModulo256)
{
    const std::vector<unsigned char> bytes = {250, 4, 4, 0, 255};
    RandomnessAccumulator accumulator;
    accumulator.Add(bytes.data(), bytes.size());
    RandomnessAccumulator::Histogram expected{};
    expected[10] = 1;   // 250 -> 4
    expected[252] = 1;  // 4 -> 0; the last byte has no partner yet
    EXPECT_EQ(accumulator.Steps(), expected);
    EXPECT_EQ(accumulator.ByteValues()[4], 2U);
    EXPECT_EQ(accumulator.ByteValues()[255], 1U);
}

TEST(RandomnessScore, ReferenceMatchesSampledRandomData)
{
    // What the measure compares against: the mean and spread of the entropy of many random samples.
    std::mt19937_64 generator(5);
    for (const std::uint64_t length : {16ULL, 64ULL, 256ULL, 1024ULL, 4096ULL}) {
        double sum = 0.0;
        double sumOfSquares = 0.0;
        const int draws = 4000;
        for (int draw = 0; draw < draws; ++draw) {
            std::array<std::uint64_t, 256> counts{};
            for (std::uint64_t i = 0; i < length; ++i) {
                ++counts[generator() & 255];
            }
            const double entropy = HistogramEntropy(counts);
            sum += entropy;
            sumOfSquares += entropy * entropy;
        }
        const double mean = sum / draws;
        const double spread = std::sqrt(sumOfSquares / draws - mean * mean);
        EXPECT_NEAR(ExpectedUniformEntropy(length), mean, 0.005) << length;
        EXPECT_NEAR(UniformEntropySpread(length), spread, 0.1 * spread) << length;
    }
}

TEST(RandomnessScore, ExpectedEntropyIsContinuousWhereTheSeriesTakesOver)
{
    const std::uint64_t limit = std::uint64_t{1} << 22;
    EXPECT_NEAR(ExpectedUniformEntropy(limit), ExpectedUniformEntropy(limit + 1), 1e-7);
    EXPECT_LT(ExpectedUniformEntropy(limit), 8.0);
    EXPECT_LT(ExpectedUniformEntropy(1 << 10), ExpectedUniformEntropy(1 << 11));
}

TEST(RandomnessMeasure, ErrorValuesAreToldFromMeasures)
{
    for (const double error :
         {kRandomnessNotFound, kRandomnessReadError, kRandomnessEmpty, kRandomnessTooShort})
        EXPECT_TRUE(IsRandomnessError(error)) << error;
    for (const double measure : {0.0, 0.5, 1.0}) EXPECT_FALSE(IsRandomnessError(measure)) << measure;
}

}  // namespace
}  // namespace kyv::filelib
