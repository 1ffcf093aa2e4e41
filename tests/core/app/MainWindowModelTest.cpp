#include "core/app/MainWindowModel.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "core/files/FolderPath.h"

using namespace kyv;
using kyv::test::ModelFixture;
using kyv::test::TempFolder;

namespace {
const QString kNoSubfolders = QStringLiteral("(The input folder has no subfolders.)");
const QString kNotInSubfolders = QStringLiteral("(Do not operate on files in lower subfolders.)");
const QString kInSubfolders = QStringLiteral("(Operate on all specified files in lower subfolders.)");
const QString kSameFiles = QStringLiteral("(The output files are the same as the input files.)");
const QString kDifferentFiles =
    QStringLiteral("(The output files normally are different from the input files.)");
}  // namespace

TEST(MainWindowModelTest, FunctionChangesOnlyTheFunctionLabelsKeyCaptionAndHint)
{
    ModelFixture f;
    TempFolder folder;
    folder.File("report.doc", 1000);
    f.setup.folders = {FilePath(folder.Path()), FilePath(folder.Path())};
    f.setup.fileSpecs = {QStringLiteral("report.doc"), QStringLiteral("report.enc")};
    f.model.RefreshFilesStatus();
    f.model.Labels().setupFileText = QStringLiteral("saved.opn");
    const MainLabels before = f.model.Labels();
    const std::size_t measuresBefore = f.measuredPaths.size();

    f.model.PerformFunction();
    const MainLabels& after = f.model.Labels();
    EXPECT_EQ(after.functionText, QStringLiteral("Decryption"));
    EXPECT_EQ(after.functionExplanation, QStringLiteral("(Decrypt the input files.)"));
    EXPECT_EQ(after.keyButtonCaption, QStringLiteral("Decryption key"));
    EXPECT_EQ(after.setupFileText, QString());
    EXPECT_EQ(after.folderTexts, before.folderTexts);
    EXPECT_EQ(after.specTexts, before.specTexts);
    EXPECT_EQ(after.specExplanations, before.specExplanations);
    EXPECT_EQ(after.specExplanationLefts, before.specExplanationLefts);
    EXPECT_EQ(after.subfoldersExplanation, before.subfoldersExplanation);
    EXPECT_EQ(after.inPlaceExplanation, before.inPlaceExplanation);
    EXPECT_EQ(static_cast<std::size_t>(f.measuredPaths.size()), measuresBefore);

    // The single-file hint follows the function.
    f.setup.fileSpecs[kInputSide].clear();
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().singleFileText,
              QStringLiteral("To decrypt multiple files specify input folder and input files."));
    f.model.PerformFunction();
    EXPECT_EQ(f.model.Labels().singleFileText,
              QStringLiteral("To encrypt multiple files specify input folder and input files."));
}

TEST(MainWindowModelTest, ASingleInputFileIsDescribedFromItsMeasure)
{
    ModelFixture f;
    TempFolder folder;
    const QString path = folder.File("data.bin", 2048);
    f.setup.folders[kInputSide] = FilePath(folder.Path());
    f.setup.fileSpecs[kInputSide] = QStringLiteral("data.bin");
    f.measures = {0.89, 0.79};
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().specExplanations[kInputSide], QStringLiteral("2.00 KB"));
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().specExplanations[kInputSide],
              QStringLiteral("2.00 KB  (Seems not Kyv-encrypted.)"));
    EXPECT_EQ(f.measuredPaths, (QStringList{path, path}));
    EXPECT_EQ(f.model.Labels().singleFileText, QString());
}

TEST(MainWindowModelTest, CopyInputSideToOutput)
{
    const struct {
        const char* name;
        std::array<FilePath, 2> folders;
        std::array<QString, 2> specs;
        std::array<FilePath, 2> expectedFolders;
        std::array<QString, 2> expectedSpecs;
    } cases[] = {
        {"input to output", {"/in/", "/out/"}, {"a.txt", "b.txt"}, {"/in/", "/in/"}, {"a.txt", "a.txt"}},
        {"empty input takes the output",
         {"", "/out/"},
         {"", "b.txt"},
         {"/out/", "/out/"},
         {"b.txt", "b.txt"}},
        {"both empty", {"", ""}, {"", ""}, {"", ""}, {"", ""}},
        {"empty output", {"/in/", ""}, {"*.*", ""}, {"/in/", "/in/"}, {"*.*", "*.*"}},
        {"folder from input, spec from output",
         {"/in/", "/out/"},
         {"", "b.txt"},
         {"/in/", "/in/"},
         {"b.txt", "b.txt"}},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        f.setup.folders = c.folders;
        f.setup.fileSpecs = c.specs;
        f.model.CopyInputSideToOutput();
        EXPECT_EQ(f.setup.folders, c.expectedFolders) << c.name;
        EXPECT_EQ(f.setup.fileSpecs, c.expectedSpecs) << c.name;
        EXPECT_TRUE(f.model.ShowOutputSameState()) << c.name;
        EXPECT_EQ(f.model.Labels().inPlaceText, QStringLiteral("Yes"));
        EXPECT_EQ(f.model.Labels().inPlaceExplanation, kSameFiles);
    }
}

TEST(MainWindowModelTest, OutputSameStateComparesExactly)
{
    const struct {
        std::array<FilePath, 2> folders;
        std::array<QString, 2> specs;
        bool same;
    } cases[] = {
        {{"/d/", "/d/"}, {"*.*", "*.*"}, true},
        {{"/d/", "/d/"}, {"*.txt", "*.TXT"}, false},
        {{"/d/", "/e/"}, {"*.*", "*.*"}, false},
        {{"/d/", "/d/"}, {"a.txt", "a.enc"}, false},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        f.setup.folders = c.folders;
        f.setup.fileSpecs = c.specs;
        EXPECT_EQ(f.model.ShowOutputSameState(), c.same);
        EXPECT_EQ(f.model.Labels().inPlaceText, c.same ? QStringLiteral("Yes") : QStringLiteral("No"));
        EXPECT_EQ(f.model.Labels().inPlaceExplanation, c.same ? kSameFiles : kDifferentFiles);
        EXPECT_FALSE(f.setup.inPlace);
    }
}

TEST(MainWindowModelTest, OutputFilesSameCopiesTheInputSideWhenSwitchedOn)
{
    ModelFixture f;
    f.setup.folders = {FilePath(QStringLiteral("/in/")), FilePath(QStringLiteral("/out/"))};
    f.setup.fileSpecs = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
    f.model.Labels().setupFileText = QStringLiteral("saved.opn");
    f.model.PerformOutputFilesSame();
    EXPECT_TRUE(f.setup.inPlace);
    EXPECT_EQ(f.model.Labels().inPlaceText, QStringLiteral("Yes"));
    EXPECT_EQ(f.model.Labels().inPlaceExplanation, kSameFiles);
    EXPECT_EQ(f.setup.folders[kOutputSide].Text(), QStringLiteral("/in/"));
    EXPECT_EQ(f.model.Labels().specTexts[kOutputSide], QStringLiteral("*.doc"));
    EXPECT_EQ(f.model.Labels().setupFileText, QString());

    // Switched off, the output side keeps its values until the user changes them.
    f.model.PerformOutputFilesSame();
    EXPECT_FALSE(f.setup.inPlace);
    EXPECT_EQ(f.model.Labels().inPlaceText, QStringLiteral("No"));
    EXPECT_EQ(f.model.Labels().inPlaceExplanation, kDifferentFiles);
    EXPECT_EQ(f.setup.fileSpecs[kOutputSide], QStringLiteral("*.doc"));
}

TEST(MainWindowModelTest, SubfoldersDependOnTheInputFolder)
{
    TempFolder withSubfolders;
    withSubfolders.Folder("lower");
    withSubfolders.File("a.doc", 10);
    TempFolder withoutSubfolders;
    withoutSubfolders.File("a.doc", 10);
    const struct {
        const char* name;
        QString folder;
        std::vector<std::pair<QString, QString>> labelsAfterEachClick;
        bool switchesOutputSame;
    } cases[] = {
        {"no input folder toggles", QString(), {{"Yes", kInSubfolders}, {"No", kNotInSubfolders}}, true},
        {"subfolders toggle",
         withSubfolders.Path(),
         {{"Yes", kInSubfolders}, {"No", kNotInSubfolders}},
         true},
        {"no subfolders stays No",
         withoutSubfolders.Path(),
         {{"No", kNoSubfolders}, {"No", kNoSubfolders}},
         false},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        // Without an input folder the output side is empty too: switching to output in place would
        // otherwise take the output folder as the input folder.
        f.setup.folders = {FilePath(c.folder),
                           FilePath(c.folder.isEmpty() ? QString() : QStringLiteral("/elsewhere/"))};
        f.setup.fileSpecs = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
        bool first = true;
        for (const auto& [value, explanation] : c.labelsAfterEachClick) {
            f.model.PerformSubdirectories();
            EXPECT_EQ(f.model.Labels().subfoldersText, value) << c.name;
            EXPECT_EQ(f.model.Labels().subfoldersExplanation, explanation) << c.name;
            EXPECT_EQ(f.setup.includeSubfolders, value == QStringLiteral("Yes")) << c.name;
            if (first) {
                EXPECT_EQ(f.setup.inPlace, c.switchesOutputSame) << c.name;
                if (c.switchesOutputSame) {
                    EXPECT_EQ(f.setup.folders[kOutputSide], f.setup.folders[kInputSide]) << c.name;
                    EXPECT_EQ(f.setup.fileSpecs[kOutputSide], QStringLiteral("*.doc")) << c.name;
                    EXPECT_EQ(f.model.Labels().inPlaceText, QStringLiteral("Yes")) << c.name;
                }
            }
            first = false;
        }
        EXPECT_TRUE(f.prompter.messages.empty()) << c.name;
    }
}

TEST(MainWindowModelTest, AVanishedInputFolderIsForgotten)
{
    const struct {
        const char* name;
        bool outputIsSameFolder;
        bool outputFilesSame;
        bool outputCleared;
    } cases[] = {
        {"output elsewhere", false, false, false},
        {"output in the same folder", true, false, true},
        {"output files same", false, true, true},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        QString vanished;
        {
            TempFolder gone;
            vanished = gone.Folder("input");
        }
        f.setup.folders = {FilePath(vanished),
                           FilePath(c.outputIsSameFolder ? vanished : QStringLiteral("/elsewhere/"))};
        f.setup.fileSpecs = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
        f.setup.inPlace = c.outputFilesSame;
        f.model.PerformSubdirectories();
        ASSERT_EQ(f.prompter.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.prompter.messages[0].text, "Error when attempting to access " + vanished + ".");
        EXPECT_EQ(f.prompter.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(f.prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), QString()) << c.name;
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QString()) << c.name;
        EXPECT_EQ(f.model.Labels().folderTexts[kInputSide], QStringLiteral("Not specified"));
        EXPECT_EQ(f.setup.folders[kOutputSide].IsEmpty(), c.outputCleared) << c.name;
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide].isEmpty(), c.outputCleared) << c.name;
        EXPECT_FALSE(f.setup.includeSubfolders) << c.name;
    }
}

TEST(MainWindowModelTest, AVanishedInputFolderAtStartUpStillLabelsTheSubfolders)
{
    OperationSetup setup;
    WorkingValues values;
    values.notSpecifiedText = QStringLiteral("Not specified");
    test::FakePrompter prompter;
    const platform::FloppyFolders floppies;
    MainWindowModel model(setup, values, prompter, floppies);
    {
        TempFolder gone;
        setup.folders = {FilePath(gone.Folder("input")), FilePath(gone.Folder("input"))};
    }
    // A next-run setup with subfolders on, whose input folder has gone since.
    model.ApplySetupFlags(true, true, true);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(setup.includeSubfolders);
    EXPECT_EQ(model.Labels().subfoldersText, QStringLiteral("No"));
    EXPECT_EQ(model.Labels().subfoldersExplanation, kNotInSubfolders);
    EXPECT_EQ(setup.folders[kInputSide].Text(), QString());
    EXPECT_EQ(setup.folders[kOutputSide].Text(), QString());
}
