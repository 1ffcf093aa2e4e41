#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/KeyInspection.h"

namespace kyv {
namespace {

using namespace std::string_view_literals;

SecureBytes SixtyFour(std::string_view start)
{
    SecureBytes bytes(64);
    for (std::size_t index = 0; index < start.size() && index < 64; ++index)
        bytes[index] = static_cast<unsigned char>(start[index]);
    return bytes;
}

TEST(KeyInspection, ZeroBytesOfATextKeyAreBlankInDecimalAndHexadecimal)
{
    const SecureBytes key = SixtyFour("Hi");
    const KeyViewRows decimal = DecimalKeyView(key.View(), true);
    EXPECT_EQ(decimal[0], QStringLiteral(" 72 105 ") + QString(14 * 4, QLatin1Char(' ')));
    EXPECT_EQ(decimal[3], QString(64, QLatin1Char(' ')));
    const KeyViewRows hex = HexadecimalKeyView(key.View(), true);
    EXPECT_EQ(hex[0], QStringLiteral(" 48  69 ") + QString(14 * 4, QLatin1Char(' ')));
}

TEST(KeyInspection, ZeroBytesOfANonTextKeyShowTheirValue)
{
    const SecureBytes key = SixtyFour("\0\xff\x0a"sv);
    const KeyViewRows decimal = DecimalKeyView(key.View(), false);
    EXPECT_TRUE(decimal[0].startsWith(QStringLiteral("  0 255  10   0 ")));
    const KeyViewRows hex = HexadecimalKeyView(key.View(), false);
    EXPECT_TRUE(hex[0].startsWith(QStringLiteral(" 00  FF  0A  00 ")));
    for (const QString& row : decimal) EXPECT_EQ(row.size(), 64);
}

TEST(KeyInspection, ATwentyCharacterTypedKeyFillsRowZeroAndFourValuesOfRowOne)
{
    const SecureBytes typed = test::Secure("abcdefghijklmnopqrst");
    const KeyViewRows decimal = DecimalKeyView(typed.View(), true);
    EXPECT_EQ(decimal[0].size(), 64);
    EXPECT_EQ(decimal[1], QStringLiteral("113 114 115 116 "));
    EXPECT_TRUE(decimal[2].isEmpty());
    EXPECT_TRUE(decimal[3].isEmpty());
}

struct AsciiCase {
    const char* what;
    std::string_view bytes;
    std::array<QString, 4> rows;
};

class AsciiKeyViewTest : public ::testing::TestWithParam<AsciiCase> {};

TEST_P(AsciiKeyViewTest, BreaksLinesAndSkipsZeroBytes)
{
    const KeyViewRows rows = AsciiKeyView(test::Bytes(GetParam().bytes));
    for (std::size_t row = 0; row < rows.size(); ++row)
        EXPECT_EQ(rows[row], GetParam().rows[row]) << GetParam().what << ", row " << row;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AsciiKeyViewTest,
    ::testing::Values(
        AsciiCase{"one line with zero fill", "my key text\0\0\0"sv, {"my key text", "", "", ""}},
        AsciiCase{"CR LF", "first line\r\nsecond line\0"sv, {"first line", "second line", "", ""}},
        AsciiCase{"LF alone", "first\nsecond"sv, {"first", "second", "", ""}},
        AsciiCase{"CR alone keeps the next byte", "first\rsecond"sv, {"first", "second", "", ""}},
        AsciiCase{"CR as last byte", "first\r"sv, {"first", "", "", ""}},
        AsciiCase{"interior zeros", "a\0b\0c"sv, {"abc", "", "", ""}},
        AsciiCase{"more than three breaks", "1\r\n2\r\n3\r\n4\r\n5\r\n6"sv, {"1", "2", "3", "4"}},
        AsciiCase{"code page characters", "\x80\xe9\x9f"sv, {QStringLiteral("€éŸ"), "", "", ""}}));

TEST(KeyInspection, AnApparentlyRandomKeyOpensMeasuredInTheDecimalViewWithoutAscii)
{
    KeyState keyState;
    keyState.rawKeyBytes = SecureBytes(64);
    for (std::size_t index = 0; index < 64; ++index)
        keyState.rawKeyBytes[index] = static_cast<unsigned char>((index * 167 + 13) % 223 + 33);
    keyState.apparentlyRandom = true;
    keyState.isText = true;
    const KeyInspectionLayout layout = PrepareKeyInspection(keyState);
    EXPECT_TRUE(layout.randomnessVisible);
    EXPECT_FALSE(layout.asciiAvailable);
    EXPECT_EQ(layout.initialView, KeyView::Decimal);
    EXPECT_TRUE(layout.randomnessLine.startsWith(QStringLiteral("Randomness is ")));
    EXPECT_TRUE(layout.randomnessLine.endsWith(QLatin1Char('.')));
    // Three decimals after the point, whatever the measure.
    const qsizetype point = layout.randomnessLine.lastIndexOf(QLatin1Char('.'), -2);
    EXPECT_EQ(layout.randomnessLine.size() - point - 2, 3) << layout.randomnessLine.toStdString();
}

struct OpeningCase {
    bool text;
    bool asciiAvailable;
    KeyView view;
};

class InspectionOpeningTest : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(InspectionOpeningTest, TextKeysOpenInAsciiOthersInDecimal)
{
    KeyState keyState;
    keyState.rawKeyBytes = test::Secure("abcd efgh ijkl mnop");
    keyState.isText = GetParam().text;
    const KeyInspectionLayout layout = PrepareKeyInspection(keyState);
    EXPECT_FALSE(layout.randomnessVisible);
    EXPECT_EQ(layout.asciiAvailable, GetParam().asciiAvailable);
    EXPECT_EQ(layout.initialView, GetParam().view);
    EXPECT_EQ(layout.checksumLine, QStringLiteral("Checksum is 6304."));
    EXPECT_TRUE(keyState.digest.empty());  // the inspection computes its checksum aside
}

INSTANTIATE_TEST_SUITE_P(Keys, InspectionOpeningTest,
                         ::testing::Values(OpeningCase{true, true, KeyView::Ascii},
                                           OpeningCase{false, false, KeyView::Decimal}));

}  // namespace
}  // namespace kyv
