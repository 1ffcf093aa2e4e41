#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "KeyTestHelpers.h"
#include "core/keys/KeyChecksum.h"

namespace kyv {
namespace {

// Lines of "expected<TAB>input"; lines starting with # are notes.
struct Vector {
    QByteArray expected;
    QByteArray input;
};

std::vector<Vector> ReadVectors(const QString& name)
{
    QFile file(QStringLiteral(KYV_TEST_DATA "/keys/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    std::vector<Vector> vectors;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.split('\t');
        vectors.push_back({fields.value(0), fields.value(1)});
    }
    return vectors;
}

TEST(MD5Digest, GivesTheDigestsOfTheRfc1321TestSuite)
{
    const std::vector<Vector> vectors = ReadVectors(QStringLiteral("md5-rfc1321.txt"));
    ASSERT_EQ(vectors.size(), 7u);
    for (const Vector& vector : vectors) {
        const SecureBytes digest =
            MD5Digest(test::Bytes(vector.input.toStdString()), static_cast<std::size_t>(vector.input.size()));
        ASSERT_EQ(digest.size(), kMD5DigestLength);
        const QByteArray hex =
            QByteArray(reinterpret_cast<const char*>(digest.data()), static_cast<qsizetype>(digest.size()))
                .toHex();
        EXPECT_EQ(hex, vector.expected) << "message \"" << vector.input.toStdString() << "\"";
    }
}

TEST(MD5Digest, DigestsOnlyTheFirstLengthBytes)
{
    const SecureBytes whole = MD5Digest(test::Bytes("abc"), 3);
    const SecureBytes prefix = MD5Digest(test::Bytes("abcdef"), 3);
    EXPECT_EQ(whole, prefix);
    EXPECT_FALSE(whole == MD5Digest(test::Bytes("abcdef"), 6));
}

TEST(KeyChecksum, AgreesWithChecksumsComputedOutsideTheProgram)
{
    const std::vector<Vector> vectors = ReadVectors(QStringLiteral("checksums.txt"));
    ASSERT_EQ(vectors.size(), 4u);
    for (const Vector& vector : vectors) {
        const QByteArray key = QByteArray::fromHex(vector.input);
        KeyState keyState;
        const int checksum = KeyChecksum(keyState, test::Bytes(key.toStdString()));
        EXPECT_EQ(checksum, vector.expected.toInt()) << vector.input.toStdString();
        EXPECT_EQ(keyState.digest, MD5Digest(test::Bytes(key.toStdString()), key.size()));
    }
}

struct DigestCase {
    const char* what;
    std::array<unsigned char, 16> digest;
    int checksum;
};

class ChecksumFromDigestTest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(ChecksumFromDigestTest, PairsTheDigestBytesHighThenLow)
{
    EXPECT_EQ(ChecksumFromDigest(GetParam().digest), GetParam().checksum) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Digests, ChecksumFromDigestTest,
    ::testing::Values(
        DigestCase{"all zero gives the lowest checksum", {}, 1001},
        // 65536 mod 8999 = 2543: the first byte of a pair is the high one.
        DigestCase{"first byte high", {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3544},
        DigestCase{"second byte low", {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1002},
        DigestCase{"last pair takes part", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}, 1008},
        // 3 × 2543 + 5 × 255 + 94 = 8998, the largest remainder.
        DigestCase{"highest checksum", {3, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 94, 0, 0, 0, 0}, 9999},
        // 8 × (255 × 65536 + 255) = 133695480 stays within 32 bits.
        DigestCase{"all 0xFF",
                   {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
                   7337}));

TEST(KeyChecksum, LiesBetween1001And9999ForManyRandomKeys)
{
    std::mt19937 generator(20261208);
    std::uniform_int_distribution<int> length(16, 64);
    std::uniform_int_distribution<int> code(33, 255);
    int lowest = kHighestChecksum;
    int highest = kLowestChecksum;
    for (int round = 0; round < 5000; ++round) {
        SecureBytes key(static_cast<std::size_t>(length(generator)));
        for (std::size_t index = 0; index < key.size(); ++index)
            key[index] = static_cast<unsigned char>(code(generator));
        KeyState keyState;
        const int checksum = KeyChecksum(keyState, key.View());
        ASSERT_GE(checksum, kLowestChecksum);
        ASSERT_LE(checksum, kHighestChecksum);
        lowest = std::min(lowest, checksum);
        highest = std::max(highest, checksum);
    }
    // The whole range is used, not a corner of it.
    EXPECT_LT(lowest, 1100);
    EXPECT_GT(highest, 9900);
}

}  // namespace
}  // namespace kyv
