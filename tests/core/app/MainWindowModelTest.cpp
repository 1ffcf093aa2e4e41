#include "core/app/MainWindowModel.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"

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
    f.setup.strDirpath = {folder.Path(), folder.Path()};
    f.setup.strFilespec = {QStringLiteral("report.doc"), QStringLiteral("report.enc")};
    f.model.RefreshFilesStatus();
    f.model.Labels().lblSetupFilename = QStringLiteral("saved.opn");
    const MainLabels before = f.model.Labels();
    const std::size_t measuresBefore = f.measuredPaths.size();

    f.model.PerformFunction();
    const MainLabels& after = f.model.Labels();
    EXPECT_EQ(after.lblFunction, QStringLiteral("Decryption"));
    EXPECT_EQ(after.lblFunction2, QStringLiteral("(Decrypt the input files.)"));
    EXPECT_EQ(after.cmdKeyFrom, QStringLiteral("Decryption key"));
    EXPECT_EQ(after.lblSetupFilename, QString());
    EXPECT_EQ(after.lblDirectory, before.lblDirectory);
    EXPECT_EQ(after.lblFiles, before.lblFiles);
    EXPECT_EQ(after.lblFiles2, before.lblFiles2);
    EXPECT_EQ(after.lblFiles2Left, before.lblFiles2Left);
    EXPECT_EQ(after.lblSubdirectories2, before.lblSubdirectories2);
    EXPECT_EQ(after.lblOutputFilesSame2, before.lblOutputFilesSame2);
    EXPECT_EQ(static_cast<std::size_t>(f.measuredPaths.size()), measuresBefore);

    // The single-file hint follows the function.
    f.setup.strFilespec[kInputSide].clear();
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().lblSingleFile,
              QStringLiteral("To decrypt multiple files specify input folder and input files."));
    f.model.PerformFunction();
    EXPECT_EQ(f.model.Labels().lblSingleFile,
              QStringLiteral("To encrypt multiple files specify input folder and input files."));
}

TEST(MainWindowModelTest, ASingleInputFileIsDescribedFromItsMeasure)
{
    ModelFixture f;
    TempFolder folder;
    const QString path = folder.File("data.bin", 2048);
    f.setup.strDirpath[kInputSide] = folder.Path();
    f.setup.strFilespec[kInputSide] = QStringLiteral("data.bin");
    f.measures = {0.89, 0.79};
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().lblFiles2[kInputSide], QStringLiteral("2.00 KB"));
    EXPECT_EQ(f.values.strCurrentFilePath, path);
    f.model.ShowFilesStatus(kInputSide);
    EXPECT_EQ(f.model.Labels().lblFiles2[kInputSide], QStringLiteral("2.00 KB  (Seems not Kyv-encrypted.)"));
    EXPECT_EQ(f.measuredPaths, (QStringList{path, path}));
    EXPECT_EQ(f.model.Labels().lblSingleFile, QString());
}

TEST(MainWindowModelTest, CopyInputSideToOutput)
{
    const struct {
        const char* name;
        std::array<QString, 2> folders, specs, expectedFolders, expectedSpecs;
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
        f.setup.strDirpath = c.folders;
        f.setup.strFilespec = c.specs;
        f.model.CopyInputSideToOutput();
        EXPECT_EQ(f.setup.strDirpath, c.expectedFolders) << c.name;
        EXPECT_EQ(f.setup.strFilespec, c.expectedSpecs) << c.name;
        EXPECT_TRUE(f.model.ShowOutputSameState()) << c.name;
        EXPECT_EQ(f.model.Labels().lblOutputFilesSame, QStringLiteral("Yes"));
        EXPECT_EQ(f.model.Labels().lblOutputFilesSame2, kSameFiles);
    }
}

TEST(MainWindowModelTest, OutputSameStateComparesExactly)
{
    const struct {
        std::array<QString, 2> folders, specs;
        bool same;
    } cases[] = {
        {{"/d/", "/d/"}, {"*.*", "*.*"}, true},
        {{"/d/", "/d/"}, {"*.txt", "*.TXT"}, false},
        {{"/d/", "/e/"}, {"*.*", "*.*"}, false},
        {{"/d/", "/d/"}, {"a.txt", "a.enc"}, false},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        f.setup.strDirpath = c.folders;
        f.setup.strFilespec = c.specs;
        EXPECT_EQ(f.model.ShowOutputSameState(), c.same);
        EXPECT_EQ(f.model.Labels().lblOutputFilesSame, c.same ? QStringLiteral("Yes") : QStringLiteral("No"));
        EXPECT_EQ(f.model.Labels().lblOutputFilesSame2, c.same ? kSameFiles : kDifferentFiles);
        EXPECT_FALSE(f.setup.blnOutputFilesSame);
    }
}

TEST(MainWindowModelTest, OutputFilesSameCopiesTheInputSideWhenSwitchedOn)
{
    ModelFixture f;
    f.setup.strDirpath = {QStringLiteral("/in/"), QStringLiteral("/out/")};
    f.setup.strFilespec = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
    f.model.Labels().lblSetupFilename = QStringLiteral("saved.opn");
    f.model.PerformOutputFilesSame();
    EXPECT_TRUE(f.setup.blnOutputFilesSame);
    EXPECT_EQ(f.model.Labels().lblOutputFilesSame, QStringLiteral("Yes"));
    EXPECT_EQ(f.model.Labels().lblOutputFilesSame2, kSameFiles);
    EXPECT_EQ(f.setup.strDirpath[kOutputSide], QStringLiteral("/in/"));
    EXPECT_EQ(f.model.Labels().lblFiles[kOutputSide], QStringLiteral("*.doc"));
    EXPECT_EQ(f.model.Labels().lblSetupFilename, QString());

    // Switched off, the output side keeps its values until the user changes them.
    f.model.PerformOutputFilesSame();
    EXPECT_FALSE(f.setup.blnOutputFilesSame);
    EXPECT_EQ(f.model.Labels().lblOutputFilesSame, QStringLiteral("No"));
    EXPECT_EQ(f.model.Labels().lblOutputFilesSame2, kDifferentFiles);
    EXPECT_EQ(f.setup.strFilespec[kOutputSide], QStringLiteral("*.doc"));
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
        f.setup.strDirpath = {c.folder, c.folder.isEmpty() ? QString() : QStringLiteral("/elsewhere/")};
        f.setup.strFilespec = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
        bool first = true;
        for (const auto& [value, explanation] : c.labelsAfterEachClick) {
            f.model.PerformSubdirectories();
            EXPECT_EQ(f.model.Labels().lblSubdirectories, value) << c.name;
            EXPECT_EQ(f.model.Labels().lblSubdirectories2, explanation) << c.name;
            EXPECT_EQ(f.setup.blnSubdirectories, value == QStringLiteral("Yes")) << c.name;
            if (first) {
                EXPECT_EQ(f.setup.blnOutputFilesSame, c.switchesOutputSame) << c.name;
                if (c.switchesOutputSame) {
                    EXPECT_EQ(f.setup.strDirpath[kOutputSide], f.setup.strDirpath[kInputSide]) << c.name;
                    EXPECT_EQ(f.setup.strFilespec[kOutputSide], QStringLiteral("*.doc")) << c.name;
                    EXPECT_EQ(f.model.Labels().lblOutputFilesSame, QStringLiteral("Yes")) << c.name;
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
        f.setup.strDirpath = {vanished, c.outputIsSameFolder ? vanished : QStringLiteral("/elsewhere/")};
        f.setup.strFilespec = {QStringLiteral("*.doc"), QStringLiteral("*.enc")};
        f.setup.blnOutputFilesSame = c.outputFilesSame;
        f.model.PerformSubdirectories();
        ASSERT_EQ(f.prompter.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.prompter.messages[0].text, "Error when attempting to access " + vanished + ".");
        EXPECT_EQ(f.prompter.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(f.prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(f.setup.strDirpath[kInputSide], QString()) << c.name;
        EXPECT_EQ(f.setup.strFilespec[kInputSide], QString()) << c.name;
        EXPECT_EQ(f.model.Labels().lblDirectory[kInputSide], QStringLiteral("Not specified"));
        EXPECT_EQ(f.setup.strDirpath[kOutputSide].isEmpty(), c.outputCleared) << c.name;
        EXPECT_EQ(f.setup.strFilespec[kOutputSide].isEmpty(), c.outputCleared) << c.name;
        EXPECT_FALSE(f.setup.blnSubdirectories) << c.name;
    }
}

TEST(MainWindowModelTest, AVanishedInputFolderAtStartUpStillLabelsTheSubfolders)
{
    OperationSetup setup;
    WorkingValues values;
    values.strNotSpecified = QStringLiteral("Not specified");
    test::FakePrompter prompter;
    MainWindowModel model(setup, values, prompter);
    {
        TempFolder gone;
        setup.strDirpath = {gone.Folder("input"), gone.Folder("input")};
    }
    // A next-run setup with subfolders on, whose input folder has gone since.
    model.ApplySetupFlags(true, true, true);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(setup.blnSubdirectories);
    EXPECT_EQ(model.Labels().lblSubdirectories, QStringLiteral("No"));
    EXPECT_EQ(model.Labels().lblSubdirectories2, kNotInSubfolders);
    EXPECT_EQ(setup.strDirpath[kInputSide], QString());
    EXPECT_EQ(setup.strDirpath[kOutputSide], QString());
}
