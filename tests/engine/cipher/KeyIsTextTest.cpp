// What counts as a text key: printable Windows-1252, tab and line breaks, with a zero fill after
// the text of a short keyfile.

#include <gtest/gtest.h>

#include <string>

#include "engine/cipher/CipherEngine.h"

namespace kyv::cipher {
namespace {

struct TextCase {
    const char* name;
    std::string bytes;
    bool text;
};

std::string Padded(std::string text)
{
    text.resize(64, '\0');
    return text;
}

const TextCase kTextCases[] = {
    {"PlainAscii", Padded("").replace(0, 64, 64, 'a'), true},
    {"ShortKeyfileWithZeroFill", Padded("correct horse battery staple"), true},
    {"TabAndLineBreaks", Padded("line one\r\nline\ttwo\n"), true},
    {"WindowsLetters",
     Padded("Gr\xFC\xDF"
            "e \x80 \x9C\xE9\xA0\xFF"),
     true},
    {"SpaceOnly", " ", true},
    {"AllZero", std::string(64, '\0'), false},
    {"Empty", "", false},
    {"ZeroInside", Padded(std::string("abc\0def", 7)), false},
    {"LeadingZero", Padded(std::string("\0abc", 4)), false},
    {"ControlCharacter", Padded("abc\x01"), false},
    {"Escape", Padded("abc\x1B[0m"), false},
    {"Delete", Padded("abc\x7F"), false},
    {"UndefinedCode81", Padded("abc\x81"), false},
    {"UndefinedCode8D", Padded("abc\x8D"), false},
    {"UndefinedCode8F", Padded("abc\x8F"), false},
    {"UndefinedCode90", Padded("abc\x90"), false},
    {"UndefinedCode9D", Padded("abc\x9D"), false},
    {"FormFeed", Padded("abc\f"), false},
    {"VerticalTab", Padded("abc\v"), false},
};

class KeyText : public ::testing::TestWithParam<TextCase> {};

TEST_P(KeyText, FollowsTheRule)
{
    const TextCase& param = GetParam();
    EXPECT_EQ(KeyIsText(reinterpret_cast<const unsigned char*>(param.bytes.data()), param.bytes.size()),
              param.text);
}

INSTANTIATE_TEST_SUITE_P(Rule, KeyText, ::testing::ValuesIn(kTextCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(KeyText, EveryByteValueAloneMatchesTheRule)
{
    int textBytes = 0;
    for (int value = 1; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        textBytes += KeyIsText(&byte, 1) ? 1 : 0;
    }
    // 95 printable ASCII, tab, LF, CR, and 128 upper codes less the five undefined ones.
    EXPECT_EQ(textBytes, 95 + 3 + 128 - 5);
    EXPECT_FALSE(KeyIsText(nullptr, 64));
}

}  // namespace
}  // namespace kyv::cipher
