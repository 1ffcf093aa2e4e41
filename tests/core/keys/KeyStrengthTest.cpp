#include <gtest/gtest.h>

#include <cstring>

#include "KeyTestHelpers.h"
#include "core/keys/KeyStrength.h"
#include "core/keys/KeyStrengthText.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv {
namespace {

using test::Bytes;

struct TypedCase {
    const char* what;
    const char* typed;
    KeyStrengthLevel level;
};

TEST(KeyStrength, TypedKeysFallIntoTheirClasses)
{
    const TypedCase cases[] = {
        {"repeated letters", "aaaaaaaaaaaaaaaaaaaa", KeyStrengthLevel::VeryWeak},
        {"a dictionary word with digits", "PASSWORD12345678", KeyStrengthLevel::VeryWeak},
        {"a dictionary word with a year twice", "sunshine2024sunshine", KeyStrengthLevel::VeryWeak},
        {"a keyboard walk", "qwertyuiopasdfghjkl", KeyStrengthLevel::VeryWeak},
        {"the alphabet in order", "ABCDEFGHIJKLMNOP", KeyStrengthLevel::VeryWeak},
        {"four common words", "correct horse battery staple", KeyStrengthLevel::Fair},
        {"a 20-character random string", "x7#kq2!zp9@lm4$vb8&r", KeyStrengthLevel::Strong},
        {"a 40-character random string", "x7#kq2!zp9@lm4$vb8&rG5%hT1*wQ6^nJ3(eY0)u",
         KeyStrengthLevel::VeryStrong},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const KeyStrength strength = TypedKeyStrength(Bytes(c.typed));
        EXPECT_EQ(strength.basis, KeyStrengthBasis::Estimated);
        EXPECT_EQ(strength.level, c.level) << strength.bits << " bits";
        EXPECT_LE(strength.bits, kMostKeyBits);
    }
}

TEST(KeyStrength, EstimatesTheNormalisedKeyThatThePasswordBecomes)
{
    // Spaces and case never reach the key, so they add nothing to its strength.
    const KeyStrength spaced = TypedKeyStrength(Bytes("x7#k q2!z p9@l m4$v b8&r"));
    const KeyStrength plain = TypedKeyStrength(Bytes("X7#KQ2!ZP9@LM4$VB8&R"));
    EXPECT_DOUBLE_EQ(spaced.bits, plain.bits);
    EXPECT_EQ(TypedKeyStrength(Bytes("   ")).bits, 0.0);
}

TEST(KeyStrength, KeyfilesAreSaidAsWhatTheyAre)
{
    struct KeyfileCase {
        const char* what;
        KeySource source;
        bool apparentlyRandom;
        bool newRandomKey;
        KeyStrengthBasis basis;
    };
    const KeyfileCase cases[] = {
        {"a new random key", Keyfile, true, true, KeyStrengthBasis::RandomKey},
        {"a random keyfile", Keyfile, true, false, KeyStrengthBasis::RandomKey},
        {"a text keyfile", Keyfile, false, false, KeyStrengthBasis::SecretFile},
    };
    for (const KeyfileCase& c : cases) {
        SCOPED_TRACE(c.what);
        KeyState key;
        key.source = c.source;
        key.apparentlyRandom = c.apparentlyRandom;
        key.newRandomKey = c.newRandomKey;
        // Text that would be estimated as very weak, were a keyfile estimated as text.
        key.normalizedKey = test::Secure("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA");
        key.rawKeyBytes = key.normalizedKey;
        const std::optional<KeyStrength> installed = InstalledKeyStrength(key);
        ASSERT_TRUE(installed.has_value());
        EXPECT_EQ(installed->basis, c.basis);
        EXPECT_EQ(InspectedKeyStrength(key, false).basis, c.basis);
        if (c.basis == KeyStrengthBasis::RandomKey) {
            EXPECT_EQ(installed->bits, 256.0);
            EXPECT_EQ(installed->level, KeyStrengthLevel::VeryStrong);
        }
    }
}

TEST(KeyStrength, TheInstalledOrInspectedTypedKeyIsEstimated)
{
    KeyState key;
    EXPECT_FALSE(InstalledKeyStrength(key).has_value());
    key.source = KeyboardEntry;
    key.normalizedKey = test::Secure("PASSWORD12345678");
    key.rawKeyBytes = test::Secure("password 1234 5678");
    ASSERT_TRUE(InstalledKeyStrength(key).has_value());
    EXPECT_EQ(InstalledKeyStrength(key)->level, KeyStrengthLevel::VeryWeak);
    EXPECT_DOUBLE_EQ(InspectedKeyStrength(key, true).bits, InstalledKeyStrength(key)->bits);
}

TEST(KeyStrength, LevelsChangeAtADayAThousandYearsAThousandMillionYearsAnd128Bits)
{
    const double day = 86400.0;
    const double year = 365.25 * day;
    struct Boundary {
        double seconds;
        KeyStrengthLevel below;
        KeyStrengthLevel above;
    };
    const Boundary boundaries[] = {
        {day, KeyStrengthLevel::VeryWeak, KeyStrengthLevel::Weak},
        {1e3 * year, KeyStrengthLevel::Weak, KeyStrengthLevel::Fair},
        {1e9 * year, KeyStrengthLevel::Fair, KeyStrengthLevel::Strong},
        {std::exp2(128.0) / kGuessesPerSecondPerGpu, KeyStrengthLevel::Strong, KeyStrengthLevel::VeryStrong},
    };
    for (const Boundary& b : boundaries) {
        SCOPED_TRACE(b.seconds);
        const double bits = std::log2(b.seconds * kGuessesPerSecondPerGpu);
        EXPECT_EQ(LevelOfBits(bits - 0.01), b.below);
        EXPECT_EQ(LevelOfBits(bits + 0.01), b.above);
    }
}

TEST(KeyStrength, TheAssumedRateStaysAboveWhatTheFastestGpuCanReach)
{
    // Each guess at the writer's cost moves 8 KiB for each of its 262,144 blocks: 2 GiB. At the
    // 1,792 GB/s of the fastest GPU on sale when this was written, that allows 834 guesses a
    // second; a cheaper derivation would make the assumed rate too low and every time too long.
    const cipher::KdfCost cost = cipher::DefaultKdfPolicy().encrypt;
    const double traffic = ArgonTrafficPerGuess(cost.opsLimit, cost.memLimitLog2);
    EXPECT_EQ(traffic, std::exp2(31));
    EXPECT_GE(kGuessesPerSecondPerGpu * traffic, 1792e9);
}

TEST(KeyStrength, DurationsInPlainWords)
{
    const double year = 365.25 * 86400.0;
    const std::pair<double, const char*> cases[] = {
        {0.0, "less than a second"},
        {0.4, "less than a second"},
        {1.2, "about 1 second"},
        {42.0, "about 42 seconds"},
        {59.7, "about 1 minute"},
        {150.0, "about 3 minutes"},
        {3 * 3600.0, "about 3 hours"},
        {86400.0, "about 1 day"},
        {45 * 86400.0, "about 1 month"},
        {400 * 86400.0, "about 1 year"},
        {36400 * year, "about 36 thousand years"},
        {2.5e6 * year, "about 3 million years"},
        {4e10 * year, "about 40 thousand million years"},
        {1e12 * year, "far longer than the age of the universe"},
        {1e300, "far longer than the age of the universe"},
    };
    for (const auto& [seconds, words] : cases)
        EXPECT_EQ(PlainDuration(seconds), QLatin1String(words)) << seconds;
}

TEST(KeyStrength, TheLineSaysTheClassAndTheTime)
{
    const QString weak = KeyStrengthLine(TypedKeyStrength(Bytes("PASSWORD12345678")));
    EXPECT_EQ(weak, QStringLiteral("Strength: very weak, one GPU needs less than a second to guess it."));
    EXPECT_EQ(KeyStrengthLine(KeyfileStrength(true)),
              QStringLiteral("Strength: very strong, a random key of 256 bits."));
    EXPECT_TRUE(KeyStrengthLine(KeyfileStrength(false))
                    .contains(QLatin1String("as strong as the keyfile is secret")));
}

// Copies of what lies in the stack below the caller's frame, where the estimate's frames were.
constexpr std::size_t kProbedStack = 64 * 1024;
unsigned char probedStack[kProbedStack];

[[gnu::noinline]] void CopyStackBelowCaller()
{
    unsigned char area[kProbedStack];
    // The area is read as it was left; the compiler is told it may hold anything.
    asm volatile("" : : "r"(area) : "memory");
    std::memcpy(probedStack, area, sizeof area);
}

bool HoldsFourBytesOf(std::string_view key)
{
    for (std::size_t at = 0; at + 4 <= key.size(); ++at) {
        for (std::size_t offset = 0; offset + 4 <= kProbedStack; ++offset)
            if (std::memcmp(probedStack + offset, key.data() + at, 4) == 0) return true;
    }
    return false;
}

TEST(KeyStrength, TheEstimateLeavesNoCopyOfTheKeyOnTheStack)
{
    // The library copies runs of digits such as these into its frames; it sees the key in upper
    // case and looks words up in lower case.
    const std::string_view upper = "PASSWORD12345678";
    const std::string_view lower = "password12345678";
    const KeyStrength strength = TypedKeyStrength(Bytes(lower));
    CopyStackBelowCaller();
    EXPECT_GT(strength.bits, 0.0);
    EXPECT_FALSE(HoldsFourBytesOf(upper));
    EXPECT_FALSE(HoldsFourBytesOf(lower));
}

}  // namespace
}  // namespace kyv
