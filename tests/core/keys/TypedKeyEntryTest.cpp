#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/TypedKeyEntry.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

class ScriptedInspector final : public KeyInspector {
public:
    explicit ScriptedInspector(bool inspectAnswer) : answer(inspectAnswer) {}
    bool InspectKey(const KeyInspectionRequest& request) override
    {
        requests.push_back(request);
        return answer;
    }
    bool answer;
    std::vector<KeyInspectionRequest> requests;
};

TEST(TypedKeyEntry, PromptsNameTheOperation)
{
    EXPECT_EQ(
        KeyPromptWithDisplay(true),
        QStringLiteral("Enter the encryption key (16-64 characters, spaces ignored, case not significant):"));
    EXPECT_EQ(
        KeyPromptWithDisplay(false),
        QStringLiteral("Enter the decryption key (16-64 characters, spaces ignored, case not significant):"));
    EXPECT_EQ(KeyPromptWithoutDisplay(false),
              QStringLiteral(
                  "Enter the decryption key, 16-64 non-space characters (which will not be displayed):"));
}

TEST(TypedKeyEntry, RunningChecksumLineHasOneLeadingSpaceAndLeavesTheRecordAlone)
{
    const SecureBytes typed = test::Secure("abcd efgh ijkl mnop");
    KeyState reference;
    const int checksum = KeyChecksum(reference, test::Bytes("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(RunningChecksumLine(typed.View()), QStringLiteral("Checksum is %1.").arg(checksum));
    EXPECT_EQ(checksum, 6304);
}

struct MatchCase {
    std::string_view first;
    std::string_view second;
    bool match;
};

class KeyEntriesMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(KeyEntriesMatchTest, ComparesTheNormalisedEntries)
{
    EXPECT_EQ(KeyEntriesMatch(test::Bytes(GetParam().first), test::Bytes(GetParam().second)),
              GetParam().match);
}

INSTANTIATE_TEST_SUITE_P(Entries, KeyEntriesMatchTest,
                         ::testing::Values(MatchCase{"abcdefghijklmnop", "ABCDEFGHIJKLMNOP", true},
                                           MatchCase{"abcd efgh ijkl mnop", " abcdefghijklmnop ", true},
                                           MatchCase{"abcdefghijklmnop", "abcdefghijklmnoq", false},
                                           MatchCase{"abcdefghijklmnop", "abcdefghijklmnopq", false}));

TEST(TypedKeyEntry, TrimmingRemovesOnlyOuterSpaces)
{
    EXPECT_EQ(test::AsText(TrimmedKeyText(test::Bytes("  a b  "))), "a b");
    EXPECT_EQ(test::AsText(TrimmedKeyText(test::Bytes("    "))), "");
    EXPECT_EQ(test::AsText(TrimmedKeyText(test::Bytes("\ta\t"))), "\ta\t");
}

struct InspectionCase {
    MessageAnswer inspect;
    bool useInInspection;
    TypedKeyAnswer answer;
    bool inspected;
};

class OfferTypedKeyInspectionTest : public ::testing::TestWithParam<InspectionCase> {};

TEST_P(OfferTypedKeyInspectionTest, AsksAndActsOnTheAnswers)
{
    const InspectionCase& c = GetParam();
    KeyState keyState;
    keyState.apparentlyRandom = true;
    test::FakePrompter prompter;
    prompter.Answer(c.inspect);
    ScriptedInspector inspector(c.useInInspection);
    const SecureBytes entry = test::Secure("my secret key text");
    EXPECT_EQ(OfferTypedKeyInspection(keyState, prompter, inspector, entry.View()), c.answer);

    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Inspect the key?"));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Key specified"));
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::YesNo);
    ASSERT_EQ(inspector.requests.size(), c.inspected ? 1u : 0u);
    if (c.inspected) {
        EXPECT_EQ(inspector.requests[0].classificationLine, QStringLiteral("Key entered at keyboard"));
        EXPECT_TRUE(inspector.requests[0].keyfileLine.isEmpty());
        EXPECT_EQ(test::AsText(keyState.rawKeyBytes), "my secret key text");
        EXPECT_TRUE(keyState.isText);
        EXPECT_FALSE(keyState.apparentlyRandom);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OfferTypedKeyInspectionTest,
    ::testing::Values(InspectionCase{MessageAnswer::No, true, TypedKeyAnswer::Yes, false},
                      InspectionCase{MessageAnswer::Yes, true, TypedKeyAnswer::Yes, true},
                      InspectionCase{MessageAnswer::Yes, false, TypedKeyAnswer::No, true}));

}  // namespace
}  // namespace kyv
