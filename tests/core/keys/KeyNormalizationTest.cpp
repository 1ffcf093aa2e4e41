#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"

namespace kyv {
namespace {

struct NormalizationCase {
    std::string_view text;
    std::string_view key;
};

class NormalizeKeyTest : public ::testing::TestWithParam<NormalizationCase> {};

TEST_P(NormalizeKeyTest, DropsCodes32AndBelowAndUpperCases)
{
    KeyState keyState;
    const SecureBytes key = NormalizeKey(keyState, test::Bytes(GetParam().text));
    EXPECT_EQ(test::AsText(key), GetParam().key);
    EXPECT_EQ(test::AsText(keyState.lastKeyText), GetParam().text);
}

using namespace std::string_view_literals;
INSTANTIATE_TEST_SUITE_P(
    Texts, NormalizeKeyTest,
    ::testing::Values(NormalizationCase{"", ""}, NormalizationCase{"   ", ""},
                      NormalizationCase{"a b\tc\r\nd", "ABCD"}, NormalizationCase{"\0x\0y\x1f\x20"sv, "XY"},
                      NormalizationCase{"Mixed Case 123 !~", "MIXEDCASE123!~"},
                      // 127 and everything above 127 stay; letters above 127 are upper-cased.
                      NormalizationCase{"\x7f\x80\xa0\xe9\xff\x9a", "\x7f\x80\xa0\xc9\x9f\x8a"}));

TEST(NormalizeKey, SameLettersWithSpacesAndLowerCaseGiveTheSameKeyAndChecksum)
{
    KeyState first;
    KeyState second;
    const SecureBytes spaced =
        NormalizeKey(first, test::Typed(QStringLiteral("c o r r e c t h o r s e b a t t é r y")).View());
    const SecureBytes plain = NormalizeKey(second, test::Typed(QStringLiteral("CORRECTHORSEBATTÉRY")).View());
    EXPECT_EQ(spaced, plain);
    EXPECT_EQ(KeyChecksum(first, spaced.View()), KeyChecksum(second, plain.View()));
    EXPECT_EQ(RunningChecksum(test::Typed(QStringLiteral(" correct horse battéry ")).View()),
              KeyChecksum(second, plain.View()));
}

struct LengthCase {
    std::string_view text;
    bool sufficient;
};

class KeyLengthSufficientTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(KeyLengthSufficientTest, CountsOnlyTheCharactersNormalisationKeeps)
{
    const KeyState keyState;
    EXPECT_EQ(KeyLengthSufficient(keyState, test::Bytes(GetParam().text)), GetParam().sufficient)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Lengths, KeyLengthSufficientTest,
                         ::testing::Values(LengthCase{"", false}, LengthCase{"123456789012345", false},
                                           LengthCase{"1234567890123456", true},
                                           // 20 characters of which 5 are spaces: 15 remain.
                                           LengthCase{"abc de fgh ij klm no", false},
                                           LengthCase{"abc de fgh ij klm nop", true},
                                           LengthCase{"\t\t1234567890123456\r\n", true}));

}  // namespace
}  // namespace kyv
