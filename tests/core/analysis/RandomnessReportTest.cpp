#include <gtest/gtest.h>

#include <QLocale>

#include "core/analysis/RandomnessReport.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderFixture.h"
#include "core/files/FolderPath.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

using test::FakePrompter;

struct PlanCase {
    const char* spec;
    bool subfolders;
    RandomnessReportKind kind;
    // "%1" stands for the folder; empty: no message.
    const char* message;
    const char* title;
};

class RandomnessReportPlanTest : public ::testing::TestWithParam<PlanCase> {
protected:
    test::FolderFixture folder_;
};

TEST_P(RandomnessReportPlanTest, TheSideGivesTheGraphicAListingOrAMessage)
{
    const PlanCase& c = GetParam();
    folder_.MakeFile(QStringLiteral("report.doc"), 300);
    folder_.MakeFile(QStringLiteral("notes.txt"), 300);
    folder_.MakeFolder(QStringLiteral("lower"));
    OperationSetup setup;
    setup.folders[kInputSide] = FilePath(folder_.Path());
    setup.fileSpecs[kInputSide] = QString::fromLatin1(c.spec);
    setup.includeSubfolders = c.subfolders;
    FakePrompter prompter;
    const RandomnessReportPlan plan = PlanRandomnessReport(setup, kInputSide, prompter);
    EXPECT_EQ(plan.kind, c.kind);
    if (*c.message == '\0') {
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(plan.File().Text(), folder_.Path() + QString::fromLatin1(c.spec));
        return;
    }
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromLatin1(c.message).replace(QStringLiteral("%1"), folder_.Path()));
    EXPECT_EQ(prompter.messages[0].title, QString::fromLatin1(c.title));
}

INSTANTIATE_TEST_SUITE_P(
    Sides, RandomnessReportPlanTest,
    ::testing::Values(PlanCase{"report.doc", false, RandomnessReportKind::SingleFile, "", ""},
                      PlanCase{"REPORT.DOC", false, RandomnessReportKind::SingleFile, "", ""},
                      PlanCase{"report.doc", true, RandomnessReportKind::Listing, "", ""},
                      PlanCase{"*.txt", false, RandomnessReportKind::Listing, "", ""},
                      PlanCase{"r?port.*", false, RandomnessReportKind::Listing, "", ""},
                      PlanCase{"*.pdf", true, RandomnessReportKind::Listing, "", ""},
                      PlanCase{"missing.doc", true, RandomnessReportKind::Listing, "", ""},
                      PlanCase{"*.pdf", false, RandomnessReportKind::Refused,
                               "There are no files in %1 matching *.pdf.", "Randomness report"},
                      PlanCase{"missing.doc", false, RandomnessReportKind::Refused,
                               "File missing.doc not found.", "Randomness report"}));

TEST(RandomnessReportTest, AFolderThatCannotBeReadIsNamedWithOrWithoutSubfolders)
{
    for (const int side : {kInputSide, kOutputSide}) {
        for (const bool subfolders : {false, true}) {
            OperationSetup setup;
            setup.folders[side] = FilePath(QStringLiteral("/no/such/folder/"));
            setup.fileSpecs[side] = QStringLiteral("*.*");
            setup.includeSubfolders = subfolders;
            FakePrompter prompter;
            EXPECT_EQ(PlanRandomnessReport(setup, side, prompter).kind, RandomnessReportKind::Refused);
            ASSERT_EQ(prompter.messages.size(), 1U);
            EXPECT_EQ(prompter.messages[0].text, side == kInputSide ? "Cannot access the input folder."
                                                                    : "Cannot access the output folder.");
            EXPECT_EQ(prompter.messages[0].title, "Error");
        }
    }
}

TEST(RandomnessReportTest, AReportNeedsOneSpecifiedSide)
{
    OperationSetup setup;
    FakePrompter prompter;
    EXPECT_FALSE(RandomnessReportPossible(setup, prompter));
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, "Neither input files nor output files are specified.");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    setup.folders[kOutputSide] = FilePath(QStringLiteral("/tmp/"));
    EXPECT_FALSE(RandomnessReportPossible(setup, prompter));
    setup.fileSpecs[kOutputSide] = QStringLiteral("*.enc");
    EXPECT_TRUE(RandomnessReportPossible(setup, prompter));
    EXPECT_EQ(prompter.messages.size(), 2U);
}

struct MeasureCase {
    int side;
    qint64 size;
    double randomness;
    // The graphic's texts, or the message (text and title) when there is no graphic.
    const char* first;
    const char* second;
    const char* third;
};

class SingleFileRandomnessTest : public ::testing::TestWithParam<MeasureCase> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(SingleFileRandomnessTest, TheMeasureGivesTheGraphicsTextsOrAMessage)
{
    const MeasureCase& c = GetParam();
    FakePrompter prompter;
    const auto text =
        SingleFileRandomness(c.side, QStringLiteral("report.doc"), c.size, c.randomness, prompter);
    if (c.third != nullptr) {
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(text->caption, QString::fromUtf8(c.first));
        EXPECT_EQ(text->fileSize, QString::fromUtf8(c.second));
        EXPECT_EQ(text->randomness, QString::fromUtf8(c.third));
        EXPECT_EQ(text->length, c.size & ~qint64{1});
        return;
    }
    EXPECT_FALSE(text.has_value());
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].text, QString::fromUtf8(c.first));
    EXPECT_EQ(prompter.messages[0].title, QString::fromUtf8(c.second));
}

INSTANTIATE_TEST_SUITE_P(
    Measures, SingleFileRandomnessTest,
    ::testing::Values(MeasureCase{kInputSide, 255, -15.0,
                                  "report.doc is too small (255 bytes) to have a randomness value.",
                                  "Randomness report", nullptr},
                      MeasureCase{kInputSide, 1001, 0.4567, "Input file: report.doc",
                                  "Filesize = 1,000 bytes", "Randomness = 0.457"},
                      MeasureCase{kOutputSide, 3000000, 0.99949, "Output file: report.doc",
                                  "Filesize = 3,000,000 bytes", "Randomness = 0.999"},
                      MeasureCase{kInputSide, 256, 0.0, "Input file: report.doc", "Filesize = 256 bytes",
                                  "Randomness = 0.000"},
                      MeasureCase{kInputSide, 5000, -12.0, "Cannot give a randomness report for this file.",
                                  "Error", nullptr},
                      MeasureCase{kInputSide, 0, -11.0, "Cannot give a randomness report for this file.",
                                  "Error", nullptr}));

TEST(RandomnessReportTest, TheListingsCaptionNamesTheSideAndTheSpecification)
{
    EXPECT_EQ(RandomnessListingCaption(kInputSide, QStringLiteral("*.doc")),
              "Randomness report for input files *.doc");
    EXPECT_EQ(RandomnessListingCaption(kOutputSide, QStringLiteral("a?.*")),
              "Randomness report for output files a?.*");
}

}  // namespace
}  // namespace kyv
