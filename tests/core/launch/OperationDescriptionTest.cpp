// The description the user confirms: singular and plural, all files or a specification, with and
// without subfolders, in place or into separate files, in the same or another folder.

#include "LaunchFixture.h"
#include "core/files/FolderPath.h"
#include "core/launch/OperationDescription.h"

namespace kyv::test {
namespace {

struct DescriptionCase {
    const char* name;
    bool encrypt;
    bool subfolders;
    bool inPlace;
    QString inSpec;
    QString outFolder;  // "" = the input folder
    QString outSpec;
    int files;
    QString expected;
    friend void PrintTo(const DescriptionCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<DescriptionCase> DescriptionCases()
{
    const QString in = "/data/";
    return {
        {"OneFileSeparateSpecified", true, false, false, "report.doc", "", "report.enc", 1,
         "Encrypting report.doc in the folder /data/ (1 file) .  The output file is specified as report.enc "
         "in the "
         "same folder"},
        {"SeveralFilesSeparateSpecified", true, false, false, "*.doc", "", "*.enc", 3,
         "Encrypting *.doc in the folder /data/ (3 files) .  The output files are specified as *.enc in the "
         "same "
         "folder"},
        {"AllFilesIntoAnotherFolderSameNames", true, false, false, "*.*", "/backup/", "*.*", 12,
         "Encrypting all files in the folder /data/ (12 files) .  The output files will have the same names "
         "in the "
         "folder /backup/"},
        {"OneFileSameNameElsewhere", false, false, false, "a.enc", "/plain/", "*.*", 1,
         "Decrypting a.enc in the folder /data/ (1 file) .  The output file will have the same name in the "
         "folder "
         "/plain/"},
        {"OtherFolderDiffersOnlyInCase", true, false, false, "*.doc", "/Data/", "*.enc", 2,
         "Encrypting *.doc in the folder /data/ (2 files) .  The output files are specified as *.enc in the "
         "folder "
         "/Data/"},
        {"InPlaceOneFile", true, false, true, "a.doc", "", "a.doc", 1,
         "Encrypting a.doc in the folder /data/ (1 file) .  The output file will have the same name as the "
         "input "
         "file (so the input file will be overwritten)"},
        {"InPlaceSeveralFiles", false, false, true, "*.*", "", "*.*", 4,
         "Decrypting all files in the folder /data/ (4 files) .  The output files will have the same names "
         "as the "
         "input files (so the input files will be overwritten)"},
        {"InPlaceSubfoldersOneTopFile", true, true, true, "*.doc", "", "*.doc", 1,
         "Encrypting *.doc in the folder /data/ (1 file) and in all lower subfolders.  The output file will "
         "have the "
         "same name as the input file (so the input file will be overwritten)"},
        {"InPlaceSubfoldersEmptyTop", true, true, true, "*.doc", "", "*.doc", 0,
         "Encrypting *.doc in the folder /data/ (0 files) and in all lower subfolders.  The output files "
         "will have "
         "the same names as the input files (so the input files will be overwritten)"},
        // Separate output with subfolders turns plural even for one top-level file.
        {"SeparateSubfoldersOneTopFile", true, true, false, "*.doc", "", "*.enc", 1,
         "Encrypting *.doc in the folder /data/ (1 file) and in all lower subfolders.  The output files are "
         "specified "
         "as *.enc in the same folders"},
        {"SeparateSubfoldersSameNames", true, true, false, "*.doc", "/x/", "*.*", 1,
         "Encrypting *.doc in the folder /data/ (1 file) and in all lower subfolders.  The output files will "
         "have the "
         "same names in the folder /x/"},
    };
}

class DescriptionTest : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(DescriptionTest, ReadsAsExpected)
{
    const DescriptionCase& c = GetParam();
    OperationSetup setup;
    setup.direction = DirectionFor(c.encrypt);
    setup.includeSubfolders = c.subfolders;
    setup.inPlace = c.inPlace;
    RunState state;
    state.request.inputFolder = "/data/";
    state.request.inputSpec = c.inSpec;
    state.request.outputFolder = c.outFolder.isEmpty() ? state.request.inputFolder : FilePath(c.outFolder);
    state.request.outputSpec = c.outSpec;
    EXPECT_EQ(OperationDescription(setup, state, c.files), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Confirmation, DescriptionTest, ::testing::ValuesIn(DescriptionCases()),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PerformOperationQuestion, NamesTheOperation)
{
    EXPECT_EQ(PerformOperationQuestion(true), "Perform this encryption operation?");
    EXPECT_EQ(PerformOperationQuestion(false), "Perform this decryption operation?");
}

TEST_F(LaunchFixture, ConfirmationCountsTopLevelFilesAndNoStopsTheLaunch)
{
    Write("a.txt", 10);
    Write("b.txt", 10);
    Write("c.doc", 10);
    Write("lower/d.txt", 10);
    Select(Root(), "*.txt", Root(), "*.enc");
    TypeKey(key, "sixteen chars ok");
    confirmer.answer = false;

    const LaunchResult result = Launch();

    EXPECT_EQ(result.outcome, LaunchOutcome::NotConfirmed);
    ASSERT_EQ(confirmer.asked.size(), 1u);
    EXPECT_EQ(confirmer.asked[0].description,
              "Encrypting *.txt in the folder " + Root() +
                  " (2 files) .  The output files are specified as *.enc in the same "
                  "folder");
    EXPECT_EQ(confirmer.asked[0].question, "Perform this encryption operation?");
    // The report window was filled before the question; nothing ran.
    EXPECT_EQ(report.caption, "Encrypting *.txt");
    EXPECT_EQ(report.state.request.inputFolder.Text(), Root());
    EXPECT_EQ(report.state.request.outputSpec, "*.enc");
    EXPECT_EQ(report.sink.runStarts, 0);
    EXPECT_EQ(fakeEngine.keyedCalls, 0);
}

TEST_F(LaunchFixture, AFolderThatCannotBeCountedIsToldAndStillAsked)
{
    for (const bool answer : {true, false}) {
        // The folder vanishes between the checks and the question.
        Write("in/a.txt", 10);
        Select(Root() + "in/", "*.txt", Root(), "*.enc");
        TypeKey(key, "sixteen chars ok");
        RunState state;
        state.request.inputFolder = FilePath(Root() + "in/");
        state.request.inputSpec = "*.txt";
        state.request.outputFolder = FilePath(Root());
        state.request.outputSpec = "*.enc";
        QDir(Root() + "in/").removeRecursively();
        prompter.messages.clear();
        confirmer.asked.clear();
        confirmer.answer = answer;

        EXPECT_EQ(ConfirmOperation(setup, state, prompter, confirmer), answer);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, "Error when attempting to count files in " + Root() + "in/.");
        EXPECT_EQ(prompter.messages[0].title, "Error");
        // Asked with what is known: no count, and nothing of an earlier question.
        ASSERT_EQ(confirmer.asked.size(), 1u);
        EXPECT_EQ(confirmer.asked[0].description,
                  "Encrypting *.txt in the folder " + Root() +
                      "in/ .  The output files are specified as *.enc in the folder " + Root());
        EXPECT_EQ(confirmer.asked[0].question, "Perform this encryption operation?");
    }
}

TEST_F(LaunchFixture, NoQuestionWhileAReliabilityTestRuns)
{
    ReadyToEncrypt();
    report.state.control.reliabilityTestRunning = true;
    confirmer.answer = false;
    EXPECT_EQ(Launch().outcome, LaunchOutcome::Ran);
    EXPECT_TRUE(confirmer.asked.empty());
}

}  // namespace
}  // namespace kyv::test
