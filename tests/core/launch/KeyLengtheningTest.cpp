#include <gtest/gtest.h>

#include <QByteArray>
#include <span>

#include "LaunchFixture.h"
#include "core/launch/KeyLengthening.h"

namespace kyv::test {
namespace {

SecureBytes Bytes(const QByteArray& text)
{
    return SecureBytes(std::span(reinterpret_cast<const unsigned char*>(text.constData()),
                                 static_cast<std::size_t>(text.size())));
}

QByteArray Text(const SecureBytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

TEST(LengthenKey, RepeatsTheKeyFromItsStartTo64Bytes)
{
    struct Case {
        QByteArray key;
        QByteArray lengthened;
    };
    const QByteArray sixteen = "ABCDEFGHIJKLMNOP";
    const QByteArray twenty = "0123456789ABCDEFGHIJ";
    const QByteArray sixtyFour = QByteArray("Z").repeated(30) + QByteArray("Y").repeated(34);
    const Case cases[] = {
        {sixteen, sixteen.repeated(4)},
        {twenty, twenty.repeated(3) + "0123"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abc",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcABCDEFGHIJKLMNOPQRSTUVWXY"},
        {sixtyFour, sixtyFour},
        {QByteArray("\xE9\xFF!#").repeated(5), QByteArray("\xE9\xFF!#").repeated(16)},
    };
    for (const Case& c : cases) {
        const SecureBytes key = Bytes(c.key);
        const SecureBytes lengthened = LengthenKey(key);
        ASSERT_EQ(lengthened.size(), 64u);
        EXPECT_EQ(Text(lengthened), c.lengthened) << c.key.toStdString();
        EXPECT_EQ(Text(key), c.key);  // the key itself is left as it was
    }
    EXPECT_TRUE(LengthenKey(SecureBytes()).empty());
}

// Keeps the key of the last call.
class CapturingEngine final : public cipher::CipherEngine {
public:
    CapturingEngine(QByteArray& key, std::size_t& length) : key_(key), length_(length) {}
    cipher::Outcome Encrypt(const cipher::Key& key, const std::filesystem::path&,
                            const std::filesystem::path&) override
    {
        return Capture(key);
    }
    cipher::Outcome Decrypt(const cipher::Key& key, const std::filesystem::path&,
                            const std::filesystem::path&) override
    {
        return Capture(key);
    }
    cipher::Outcome Verify(const cipher::Key& key, const std::filesystem::path&) override
    {
        return Capture(key);
    }
    void WipeKeys() override {}
    std::uint64_t BytesProcessed() const override { return 0; }

private:
    cipher::Outcome Capture(const cipher::Key& key)
    {
        key_ = QByteArray(reinterpret_cast<const char*>(key.Bytes().data()),
                          static_cast<qsizetype>(key.Bytes().size()));
        length_ = key.Bytes().size();
        return {};
    }

    QByteArray& key_;
    std::size_t& length_;
};

// The engine is handed the lengthened key of a typed key, and the key record keeps its own.
TEST_F(LaunchFixture, TheEngineGetsTheLengthenedKeyAndTheRecordStaysShort)
{
    struct Case {
        QByteArray typed;
        QByteArray engineKey;
    };
    const Case cases[] = {
        {"abcd efgh ijkl mnop", QByteArray("ABCDEFGHIJKLMNOP").repeated(4)},
        {"twenty characters!!!", QByteArray("TWENTYCHARACTERS!!!").repeated(4).left(64)},
        {"0123456789abcdefghij", QByteArray("0123456789ABCDEFGHIJ").repeated(3) + "0123"},
    };
    for (const Case& c : cases) {
        ReadyToEncrypt();
        TypeKey(key, c.typed);
        const QByteArray recordBefore = Text(key.normalizedKey);
        QByteArray engineKey;
        std::size_t engineKeyLength = 0;
        CapturingEngine capturing(engineKey, engineKeyLength);
        engine = &capturing;

        EXPECT_EQ(Launch().outcome, LaunchOutcome::Ran);
        EXPECT_EQ(engineKeyLength, 64u);
        EXPECT_EQ(engineKey, c.engineKey) << c.typed.toStdString();
        EXPECT_EQ(Text(key.normalizedKey), recordBefore);
        EXPECT_LT(key.normalizedKey.size(), 64u);
        engine = &fakeEngine;
    }
}

}  // namespace
}  // namespace kyv::test
