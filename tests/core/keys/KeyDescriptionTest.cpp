#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/KeyDescription.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

WorkingValues Texts()
{
    WorkingValues values;
    values.keyLinePrefix = QStringLiteral("Key specified");
    values.notSpecifiedText = QStringLiteral("Not specified");
    return values;
}

struct LineCase {
    const char* what;
    KeySource source;
    bool newRandom;
    bool apparentlyRandom;
    bool text;
    int checksum;
    QString line;
};

class DescribeKeyTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(DescribeKeyTest, NamesTheSourceAndTheChecksum)
{
    const LineCase& c = GetParam();
    KeyState keyState;
    keyState.normalizedKey = test::Secure("ABCDEFGHIJKLMNOP");
    keyState.source = c.source;
    keyState.newRandomKey = c.newRandom;
    keyState.apparentlyRandom = c.apparentlyRandom;
    keyState.isText = c.text;
    keyState.checksum = c.checksum;
    test::FakePrompter prompter;
    EXPECT_EQ(DescribeKey(keyState, Texts(), QStringLiteral("earlier line"), prompter), c.line) << c.what;
    EXPECT_TRUE(prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, DescribeKeyTest,
    ::testing::Values(
        LineCase{"typed", KeyboardEntry, false, false, true, 4711,
                 QStringLiteral("Key specified (keyboard entry, checksum = 4711)")},
        LineCase{"typed, flags of an earlier keyfile ignored", KeyboardEntry, true, true, false, 1001,
                 QStringLiteral("Key specified (keyboard entry, checksum = 1001)")},
        LineCase{"new random keyfile first", Keyfile, true, true, true, 9999,
                 QStringLiteral("Key specified (new random key in keyfile, checksum = 9999)")},
        LineCase{"apparently random before text", Keyfile, false, true, true, 2345,
                 QStringLiteral("Key specified (apparently random key in keyfile, checksum = 2345)")},
        LineCase{"text keyfile", Keyfile, false, false, true, 3456,
                 QStringLiteral("Key specified (text key in keyfile, checksum = 3456)")},
        LineCase{"neither", Keyfile, false, false, false, 5678,
                 QStringLiteral("Key specified (non-random non-text key in keyfile, checksum = 5678)")},
        LineCase{"no source", NotSpecified, false, false, false, 5678, QStringLiteral("Not specified")}));

TEST(DescribeKey, AnAbandonedKeyfileCommandRestoresTheEarlierLine)
{
    KeyState keyState;
    keyState.source = NotSpecified;
    keyState.choiceAbandoned = true;
    test::FakePrompter prompter;
    EXPECT_EQ(DescribeKey(keyState, Texts(),
                          QStringLiteral("Key specified (keyboard entry, checksum = 4711)"), prompter),
              QStringLiteral("Key specified (keyboard entry, checksum = 4711)"));
}

TEST(DescribeKey, ASourceWithoutAKeyIsReportedAndBecomesNotSpecified)
{
    for (const KeySource source : {KeyboardEntry, Keyfile}) {
        KeyState keyState;
        keyState.normalizedKey.Clear();
        keyState.source = source;
        test::FakePrompter prompter;
        EXPECT_EQ(DescribeKey(keyState, Texts(), QStringLiteral("earlier"), prompter),
                  QStringLiteral("Not specified"));
        EXPECT_EQ(keyState.source, NotSpecified);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Error processing key!"));
        EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    }
}

}  // namespace
}  // namespace kyv
