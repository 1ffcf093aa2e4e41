// The checks of "Do it!": each failure stops the launch with its own message before anything is
// processed, and the first failure in the fixed order is the one the user sees.

#include <functional>

#include "LaunchFixture.h"
#include "core/files/FolderPath.h"
#include "core/launch/LaunchChecks.h"

namespace kyv::test {
namespace {

struct FailedCheck {
    const char* name;
    std::function<void(LaunchFixture&)> arrange;
    QString text;
    QString title;
    MessageIcon icon;
    friend void PrintTo(const FailedCheck& c, std::ostream* os) { *os << c.name; }
};

const QString kSubfolderMessage =
    QStringLiteral("If subfolders are included then the output files must be the same as the input files.");

std::vector<FailedCheck> FailedChecks()
{
    return {
        {"NoInputSpecification",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.fileSpecs[kInputSide].clear();
         },
         "Input file(s) not specified.", "Error", MessageIcon::Exclamation},
        {"NoInputFolder",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.folders[kInputSide] = FilePath();
         },
         "Input file(s) not specified.", "Error", MessageIcon::Exclamation},
        {"MissingInputFolder",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.folders[kInputSide] = FilePath(f.Root() + "gone/");
         },
         "Cannot access the input folder.", "Error", MessageIcon::Error},
        {"EmptyInputFolder",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.folders[kInputSide] = FilePath(f.Folder("empty"));
         },
         "The input folder contains no matching files and no subfolders.", "Empty folder",
         MessageIcon::Exclamation},
        {"OnlySubfoldersWithoutSubfolderOption",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.Write("deep/lower/c.txt", 10);
             f.setup.folders[kInputSide] = FilePath(f.Root() + "deep/");
         },
         "The input folder contains no matching files.", "Nothing to do", MessageIcon::Exclamation},
        {"NoKeyWhileEncrypting",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.key.source = NotSpecified;
         },
         "Please specify the encryption key.", "Encryption key not specified", MessageIcon::None},
        {"NoKeyWhileDecrypting",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.direction = Direction::Decrypt;
             f.key.source = NotSpecified;
         },
         "Please specify the decryption key.", "Decryption key not specified", MessageIcon::None},
        {"KeySourceWithoutKeyBytes",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.key.normalizedKey.Clear();
         },
         "Please specify the encryption key.", "Encryption key not specified", MessageIcon::None},
        {"NoOutputSpecification",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.fileSpecs[kOutputSide].clear();
         },
         "Output file(s) not specified.", "Error", MessageIcon::Exclamation},
        {"NoOutputFolder",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.folders[kOutputSide] = FilePath();
         },
         "Output file(s) not specified.", "Error", MessageIcon::Exclamation},
        {"SubfoldersWithSeparateOutput",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.setup.includeSubfolders = true;
         },
         kSubfolderMessage, "", MessageIcon::Information},
        {"SubfoldersWithOutputInAnotherFolder",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt(QStringLiteral("*.txt"));
             f.setup.folders[kOutputSide] = FilePath(f.Folder("elsewhere"));
             f.setup.includeSubfolders = true;
         },
         kSubfolderMessage, "", MessageIcon::Information},
        // The first failure in the order wins: input before key before output.
        {"InputBeforeKeyAndOutput", [](LaunchFixture& f) { f.setup.folders[kOutputSide] = FilePath(); },
         "Input file(s) not specified.", "Error", MessageIcon::Exclamation},
        {"KeyBeforeOutput",
         [](LaunchFixture& f) {
             f.ReadyToEncrypt();
             f.key.source = NotSpecified;
             f.setup.fileSpecs[kOutputSide].clear();
             f.setup.includeSubfolders = true;
         },
         "Please specify the encryption key.", "Encryption key not specified", MessageIcon::None},
    };
}

class CheckFailureTest : public LaunchFixture, public ::testing::WithParamInterface<FailedCheck> {};

TEST_P(CheckFailureTest, StopsWithItsMessageBeforeAnythingRuns)
{
    const FailedCheck& check = GetParam();
    check.arrange(*this);
    const OperationSetup before = setup;

    const LaunchResult result = Launch();

    EXPECT_EQ(result.outcome, LaunchOutcome::CheckFailed);
    EXPECT_FALSE(result.abortReliabilityTest);
    ASSERT_EQ(prompter.messages.size(), 1u) << MessageTexts().join(" | ").toStdString();
    EXPECT_EQ(prompter.messages[0].text, check.text);
    EXPECT_EQ(prompter.messages[0].title, check.title);
    EXPECT_EQ(prompter.messages[0].icon, check.icon);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(confirmer.asked.empty());
    EXPECT_EQ(report.sink.runStarts, 0);
    EXPECT_EQ(report.shows, 0);
    EXPECT_EQ(fakeEngine.keyedCalls, 0);
    EXPECT_EQ(setup.inPlace, before.inPlace);
}

INSTANTIATE_TEST_SUITE_P(Launch, CheckFailureTest, ::testing::ValuesIn(FailedChecks()),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(LaunchFixture, SubfoldersAllowAnEmptyTopFolderForInPlaceWork)
{
    Write("top/lower/c.txt", 5);
    Select(Root() + "top/", "*.txt", Root() + "top/", "*.txt");
    setup.includeSubfolders = true;
    TypeKey(key, "sixteen chars ok");

    const LaunchResult result = Launch();

    EXPECT_EQ(result.outcome, LaunchOutcome::Ran) << MessageTexts().join(" | ").toStdString();
    EXPECT_TRUE(setup.inPlace);
    EXPECT_EQ(report.state.result.filesDone, 1);
}

// Output named like the input apart from letter case: turned into in-place work through the
// "Output file(s) same?" command before the subfolder check, which then passes.
TEST_F(LaunchFixture, OutputEqualButForCaseTurnsInPlaceBeforeTheSubfolderCheck)
{
    ReadyToEncrypt();
    setup.fileSpecs[kOutputSide] = "*.TXT";
    setup.includeSubfolders = true;
    int commandRuns = 0;
    bool flagWhenCommandRan = true;
    hooks.performOutputFilesSame = [&] {
        ++commandRuns;
        flagWhenCommandRan = setup.inPlace;
        setup.inPlace = !setup.inPlace;
    };

    const LaunchResult result = Launch();

    EXPECT_EQ(commandRuns, 1);
    EXPECT_FALSE(flagWhenCommandRan);
    EXPECT_TRUE(setup.inPlace);
    EXPECT_EQ(result.outcome, LaunchOutcome::Ran) << MessageTexts().join(" | ").toStdString();
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(LaunchFixture, OutputNamesInputWithoutLetterCaseWhenItIsTheSameFolder)
{
    const QString data = Folder("Data");
    const QString other = Folder("DATA");  // a second folder where case tells names apart
    const QString accented = Folder("Ünï");
    const bool caseSensitive = QFileInfo(other).canonicalFilePath() != QFileInfo(data).canonicalFilePath();
    struct Case {
        QString inFolder, inSpec, outFolder, outSpec;
        bool same;
    };
    const Case cases[] = {
        {data, "*.doc", data, "*.doc", true},
        {data, "*.doc", data, "*.DOC", true},
        {accented, "a?.txt", accented, "A?.TXT", true},
        {data, "*.doc", other, "*.doc", !caseSensitive},
        {data, "*.doc", Root() + "data/", "*.doc", !caseSensitive},  // not there where case counts
        {"/no/such/", "*.doc", "/NO/SUCH/", "*.doc", false},
        {data, "*.doc", data, "*.enc", false},
        {data, "*.doc", data + "x/", "*.doc", false},
    };
    for (const Case& c : cases) {
        setup.folders = {FilePath(c.inFolder), FilePath(c.outFolder)};
        setup.fileSpecs = {c.inSpec, c.outSpec};
        EXPECT_EQ(OutputNamesInput(setup), c.same) << c.outFolder.toStdString() << c.outSpec.toStdString();
    }
}

TEST(CheckOutputSide, WithoutACommandTheFlagAloneTurns)
{
    FakePrompter prompter;
    OperationSetup setup;
    setup.folders = {"/data/", "/data/"};
    setup.fileSpecs = {"*.doc", "*.Doc"};
    setup.includeSubfolders = true;
    EXPECT_TRUE(CheckOutputSide(setup, prompter, {}));
    EXPECT_TRUE(setup.inPlace);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(LaunchFixture, ReliabilityTestChoiceDecidesWhetherTheEncryptionGoesOn)
{
    struct Case {
        ReliabilityTestChoice choice;
        LaunchOutcome outcome;
    };
    for (const Case c : {Case{ReliabilityTestChoice::Cancelled, LaunchOutcome::ReliabilityTestRan},
                         Case{ReliabilityTestChoice::Tested, LaunchOutcome::ReliabilityTestRan},
                         Case{ReliabilityTestChoice::NotTested, LaunchOutcome::Ran}}) {
        const QString testFolder = Folder("kyvtest");
        Write("kyvtest/t1.tst", 50);
        Select(testFolder, "*.tst", testFolder, "*.enc");
        TypeKey(key, "sixteen chars ok");
        int offers = 0;
        hooks.offerReliabilityTest = [&] {
            ++offers;
            return c.choice;
        };
        const LaunchResult result = Launch();
        EXPECT_EQ(offers, 1);
        EXPECT_EQ(result.outcome, c.outcome);
        QFile::remove(testFolder + "t1.enc");
    }
}

}  // namespace
}  // namespace kyv::test
