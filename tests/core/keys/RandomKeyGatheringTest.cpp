#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

#include "core/keys/RandomKeyGathering.h"

namespace kyv {
namespace {

struct HundredthsCase {
    QTime time;
    int hundredths;
};

TEST(RandomKeyHundredths, FromSecondsSinceMidnightRoundedHalfToEven)
{
    const HundredthsCase cases[] = {
        {QTime(0, 0, 0, 0), 0},       {QTime(0, 0, 0, 250), 25},  {QTime(0, 0, 0, 125), 12},
        {QTime(0, 0, 0, 375), 38},    {QTime(0, 0, 1, 999), 100}, {QTime(12, 0, 0, 250), 25},
        {QTime(23, 59, 59, 500), 50},
    };
    for (const HundredthsCase& c : cases) {
        SCOPED_TRACE(c.time.toString(QStringLiteral("HH:mm:ss.zzz")).toStdString());
        EXPECT_EQ(HundredthsOfSecond(c.time), c.hundredths);
    }
}

TEST(RandomKeyCharacter, AnyPositionGivesACodeFrom33To255)
{
    constexpr std::int64_t kFar = std::numeric_limits<std::int32_t>::max();
    const std::int64_t positions[][2] = {
        {0, 0},
        {6195, 3105},
        {-1, -1},
        {-32768, 32767},
        {kFar, kFar},
        {-kFar, kFar},
        {kFar * 15, -kFar * 15},
        {-(std::int64_t{1} << 40), 7},
        {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& position : positions) {
        for (const int h : {0, 37, 100}) {
            for (const std::uint32_t random : {0U, 1U, 222U}) {
                const int code = RandomKeyCharacter(position[0], position[1], h, random);
                EXPECT_GE(code, 33) << position[0] << "," << position[1];
                EXPECT_LE(code, 255) << position[0] << "," << position[1];
            }
        }
    }
}

TEST(RandomKeyCharacter, InsideTheWindowTheMovementPartIsTheProductRemainder)
{
    // x, y, h: P = (2h + y) * (h + x) * (h + 1), the code (P mod 223) + 33 before mixing.
    const std::int64_t samples[][3] = {{1000, 2000, 37}, {6195, 3105, 100}, {0, 0, 0}, {17, 4, 99}};
    for (const auto& s : samples) {
        const std::int64_t product = (2 * s[2] + s[1]) * (s[2] + s[0]) * (s[2] + 1);
        EXPECT_EQ(RandomKeyCharacter(s[0], s[1], static_cast<int>(s[2]), 0), product % 223 + 33);
    }
}

TEST(RandomKeyCharacter, TheRandomValueAloneReachesEveryCodeOnce)
{
    // Whatever the movement, the 223 random values give the 223 codes: a character is as strong as
    // the random source, not as the user's hand.
    for (const std::int64_t x : {0, 4711, -90000}) {
        std::set<int> codes;
        for (std::uint32_t random = 0; random < kRandomKeyCodeCount; ++random)
            codes.insert(RandomKeyCharacter(x, 1234, 56, random));
        EXPECT_EQ(codes.size(), std::size_t{223});
        EXPECT_EQ(*codes.begin(), 33);
        EXPECT_EQ(*codes.rbegin(), 255);
    }
}

// The window's test (tests/gui/keys) drives the gathering through pointer events: rest, 64
// movements, progress and closing.
TEST(RandomKeyGathering, TheSameMovementsAtTheSameTimesGiveDifferentKeys)
{
    auto gather = [] {
        RandomKeyGathering gathering;
        gathering.Start();
        for (int sample = 0; sample < kRandomKeyLength; ++sample) {
            gathering.PointerMoved(1 + sample % 2, 0);
            (void)gathering.Sample(QTime(8, 0));
        }
        return gathering.TakeKey();
    };
    const SecureBytes first = gather();
    const SecureBytes second = gather();
    ASSERT_EQ(first.size(), std::size_t{64});
    EXPECT_FALSE(first == second);
}

}  // namespace
}  // namespace kyv
