#include <gtest/gtest.h>

#include "core/operation/ElapsedText.h"

namespace kyv {
namespace {

struct ElapsedCase {
    std::int64_t seconds;
    const char* text;
};

class FormatElapsedTest : public ::testing::TestWithParam<ElapsedCase> {};

TEST_P(FormatElapsedTest, NamesAtMostTheTwoLargestUnits)
{
    EXPECT_EQ(FormatElapsed(GetParam().seconds), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatElapsedTest,
    ::testing::Values(ElapsedCase{0, "0 seconds"}, ElapsedCase{1, "1 second"}, ElapsedCase{4, "4 seconds"},
                      ElapsedCase{60, "1 minute"}, ElapsedCase{61, "1 minute and 1 second"},
                      ElapsedCase{65, "1 minute and 5 seconds"}, ElapsedCase{120, "2 minutes"},
                      ElapsedCase{3600, "1 hour"}, ElapsedCase{3601, "1 hour and 1 second"},
                      ElapsedCase{3725, "1 hour and 2 minutes"}, ElapsedCase{7322, "2 hours and 2 minutes"},
                      ElapsedCase{86400, "1 day"}, ElapsedCase{86400 + 3600 + 60 + 1, "1 day and 1 hour"},
                      ElapsedCase{2 * 86400 + 5, "2 days and 5 seconds"},
                      ElapsedCase{86400 + 120, "1 day and 2 minutes"}));

struct MinutesCase {
    std::int64_t minutes;
    const char* text;
};

class FormatMinutesTest : public ::testing::TestWithParam<MinutesCase> {};

TEST_P(FormatMinutesTest, WordsDaysHoursAndMinutes)
{
    EXPECT_EQ(FormatMinutes(GetParam().minutes), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Examples, FormatMinutesTest,
                         ::testing::Values(MinutesCase{1, "1 minute"}, MinutesCase{59, "59 minutes"},
                                           MinutesCase{60, "1 hour"}, MinutesCase{61, "1 hour and 1 minute"},
                                           MinutesCase{1440, "1 day"},
                                           MinutesCase{1441, "1 day and 1 minute"},
                                           MinutesCase{1500, "1 day and 1 hour"},
                                           MinutesCase{1501, "1 day and 1 hour"},
                                           MinutesCase{2 * 1440 + 3 * 60, "2 days and 3 hours"}));

}  // namespace
}  // namespace kyv
