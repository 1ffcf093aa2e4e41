#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/Windows1252.h"

namespace kyv {
namespace {

struct CodeCase {
    char16_t character;
    int byte;  // -1: the code page cannot hold the character
};

class Windows1252CodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(Windows1252CodeTest, MapsCharactersToTheirBytes)
{
    const CodeCase& c = GetParam();
    const std::optional<unsigned char> byte = ToWindows1252(c.character);
    if (c.byte < 0) {
        EXPECT_FALSE(byte.has_value()) << std::hex << int(c.character);
        return;
    }
    ASSERT_TRUE(byte.has_value()) << std::hex << int(c.character);
    EXPECT_EQ(*byte, c.byte);
    EXPECT_EQ(FromWindows1252(*byte), c.character);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Windows1252CodeTest,
    ::testing::Values(CodeCase{u'A', 0x41}, CodeCase{u' ', 0x20}, CodeCase{0x7F, 0x7F}, CodeCase{u'€', 0x80},
                      CodeCase{u'‚', 0x82}, CodeCase{u'ƒ', 0x83}, CodeCase{u'…', 0x85}, CodeCase{u'Š', 0x8A},
                      CodeCase{u'Œ', 0x8C}, CodeCase{u'Ž', 0x8E}, CodeCase{u'‘', 0x91}, CodeCase{u'™', 0x99},
                      CodeCase{u'š', 0x9A}, CodeCase{u'œ', 0x9C}, CodeCase{u'ž', 0x9E}, CodeCase{u'Ÿ', 0x9F},
                      CodeCase{0xA0, 0xA0}, CodeCase{u'é', 0xE9}, CodeCase{u'ÿ', 0xFF},
                      // Undefined slots stand for the control characters of the same number.
                      CodeCase{0x81, 0x81}, CodeCase{0x9D, 0x9D},
                      // Latin-1 controls whose slots hold other characters, and characters beyond.
                      CodeCase{0x80, -1}, CodeCase{0x9F, -1}, CodeCase{u'Ā', -1}, CodeCase{u'Ж', -1},
                      CodeCase{u'中', -1}, CodeCase{0xD83D, -1}));

TEST(Windows1252, EveryByteSurvivesTheRoundTrip)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::optional<unsigned char> back =
            ToWindows1252(FromWindows1252(static_cast<unsigned char>(byte)));
        ASSERT_TRUE(back.has_value()) << byte;
        EXPECT_EQ(*back, byte);
    }
}

TEST(Windows1252, EncodingRefusesTextWithACharacterOutsideTheCodePage)
{
    SecureBytes bytes;
    ASSERT_TRUE(EncodeWindows1252(QStringLiteral("Größe €5"), bytes));
    EXPECT_EQ(test::AsText(bytes), std::string_view("Gr\xF6\xDF"
                                                    "e \x80"
                                                    "5"));
    EXPECT_EQ(DecodeWindows1252(bytes.View()), QStringLiteral("Größe €5"));

    EXPECT_FALSE(EncodeWindows1252(QStringLiteral("key ☺ text"), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(FitsWindows1252(QStringLiteral("Ωmega")));
    EXPECT_TRUE(FitsWindows1252(QStringLiteral("Œuvre")));
}

struct UpperCase {
    unsigned char byte;
    unsigned char upper;
};

class UpperWindows1252Test : public ::testing::TestWithParam<UpperCase> {};

TEST_P(UpperWindows1252Test, UpperCasesLettersTheCodePageHolds)
{
    EXPECT_EQ(UpperWindows1252(GetParam().byte), GetParam().upper) << int(GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(Letters, UpperWindows1252Test,
                         ::testing::Values(UpperCase{'a', 'A'}, UpperCase{'z', 'Z'}, UpperCase{'A', 'A'},
                                           UpperCase{'1', '1'}, UpperCase{'{', '{'}, UpperCase{0xE0, 0xC0},
                                           UpperCase{0xFE, 0xDE}, UpperCase{0x9A, 0x8A},
                                           UpperCase{0x9C, 0x8C}, UpperCase{0x9E, 0x8E},
                                           UpperCase{0xFF, 0x9F},
                                           // Division sign, sharp s and micro sign have no upper case here.
                                           UpperCase{0xF7, 0xF7}, UpperCase{0xDF, 0xDF},
                                           UpperCase{0xB5, 0xB5}, UpperCase{0x80, 0x80},
                                           UpperCase{0x00, 0x00}));

}  // namespace
}  // namespace kyv
