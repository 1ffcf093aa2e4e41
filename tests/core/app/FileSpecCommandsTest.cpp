#include "core/app/FileSpecCommands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "AppTestSupport.h"
#include "core/files/FolderPath.h"

using namespace kyv;
using kyv::test::ModelFixture;
using kyv::test::TempFolder;

namespace {

struct CommandsFixture : ModelFixture {
    FileSpecCommands commands{model};
};

const QString kOutputIsInput =
    QStringLiteral("Currently output files are specified as the same as the input files.");

}  // namespace

TEST(FileSpecCommandsTest, SingleFileDialogNamesTheOperation)
{
    CommandsFixture f;
    FileDialogRequest request = f.commands.SingleFileRequest();
    EXPECT_EQ(request.title, QStringLiteral("Specify file to be encrypted"));
    EXPECT_EQ(request.filter, QStringLiteral("All files (*.*) | *.*"));
    EXPECT_EQ(request.fileName, QString());
    f.model.PerformFunction();
    EXPECT_EQ(f.commands.SingleFileRequest().title, QStringLiteral("Specify file to be decrypted"));
}

TEST(FileSpecCommandsTest, ChoosingASingleFile)
{
    for (const bool outputFilesSame : {false, true}) {
        CommandsFixture f;
        TempFolder folder;
        const QString path = folder.File("report.doc", 300);
        f.setup.folders[kOutputSide] = FilePath(QStringLiteral("/elsewhere/"));
        f.setup.fileSpecs[kOutputSide] = QStringLiteral("report.enc");
        f.setup.inPlace = outputFilesSame;
        f.setup.includeSubfolders = true;
        f.model.Labels().subfoldersText = QStringLiteral("Yes");
        f.model.Labels().setupFileText = QStringLiteral("saved.opn");
        f.commands.ApplySingleFile(FilePath(path));
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), folder.Path());
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QStringLiteral("report.doc"));
        EXPECT_EQ(f.setup.folders[kOutputSide].Text(), folder.Path());
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide], outputFilesSame ? QStringLiteral("report.doc") : QString());
        EXPECT_FALSE(f.setup.includeSubfolders);
        EXPECT_EQ(f.model.Labels().subfoldersText, QStringLiteral("No"));
        EXPECT_EQ(f.model.Labels().subfoldersExplanation,
                  QStringLiteral("(Do not operate on files in lower subfolders.)"));
        EXPECT_EQ(f.model.Labels().specTexts[kInputSide], QStringLiteral("report.doc"));
        EXPECT_EQ(f.model.Labels().specTexts[kOutputSide],
                  outputFilesSame ? QStringLiteral("report.doc") : QStringLiteral("Not specified"));
        EXPECT_EQ(f.model.Labels().setupFileText, QString());
    }
}

TEST(FileSpecCommandsTest, CancelledChoicesChangeNothing)
{
    CommandsFixture f;
    f.setup.folders = {FilePath(QStringLiteral("/in/")), FilePath(QStringLiteral("/out/"))};
    f.setup.fileSpecs = {QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    const OperationSetup before = f.setup;
    f.commands.ApplySingleFile(FilePath());
    f.commands.ApplyFolder(kInputSide, FilePath());
    f.commands.ApplyFolder(kOutputSide, FilePath());
    EXPECT_EQ(f.setup.folders, before.folders);
    EXPECT_EQ(f.setup.fileSpecs, before.fileSpecs);
}

TEST(FileSpecCommandsTest, TheOutputFolderOfFilesWrittenInPlaceIsRefused)
{
    CommandsFixture f;
    EXPECT_TRUE(f.commands.MayChooseFolder(kInputSide));
    EXPECT_TRUE(f.commands.MayChooseFolder(kOutputSide));
    f.setup.inPlace = true;
    EXPECT_TRUE(f.commands.MayChooseFolder(kInputSide));
    EXPECT_FALSE(f.commands.MayChooseFolder(kOutputSide));
    ASSERT_EQ(f.prompter.messages.size(), 1u);
    EXPECT_EQ(f.prompter.messages[0].text, kOutputIsInput);
    EXPECT_EQ(f.prompter.messages[0].title, QStringLiteral("Specify output folder"));
    EXPECT_EQ(f.prompter.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(FileSpecCommands::FolderBrowserTitle(kInputSide), QStringLiteral("Specify input folder"));
    EXPECT_EQ(FileSpecCommands::FolderBrowserTitle(kOutputSide), QStringLiteral("Specify output folder"));
}

TEST(FileSpecCommandsTest, ChoosingFolders)
{
    TempFolder plain;
    plain.File("a.doc", 10);
    TempFolder nested;
    nested.Folder("lower");
    const struct {
        const char* name;
        int index;
        QString chosen;
        QString outputFolderBefore;
        bool outputFilesSame;
        QString expectedInput, expectedOutput, subfoldersExplanation;
    } cases[] = {
        {"input sets an empty output folder", 0, plain.dir.path(), "", false, plain.Path(), plain.Path(),
         "(The input folder has no subfolders.)"},
        {"input keeps a set output folder", 0, plain.Path(), "/out/", false, plain.Path(), "/out/",
         "(The input folder has no subfolders.)"},
        {"input with subfolders", 0, nested.Path() + "/", "/out/", false, nested.Path(), "/out/",
         "(Do not operate on files in lower subfolders.)"},
        {"input copied to output in place", 0, plain.Path(), "/out/", true, plain.Path(), plain.Path(),
         "(The input folder has no subfolders.)"},
        {"output folder", 1, nested.dir.path(), "/out/", false, "/in/", nested.Path(), "unchanged"},
    };
    for (const auto& c : cases) {
        CommandsFixture f;
        f.setup.folders = {FilePath(QStringLiteral("/in/")), FilePath(c.outputFolderBefore)};
        f.setup.fileSpecs = {QStringLiteral("*.xyz"), QStringLiteral("*.enc")};
        f.setup.inPlace = c.outputFilesSame;
        f.setup.includeSubfolders = true;
        f.model.Labels().subfoldersExplanation = QStringLiteral("unchanged");
        f.model.Labels().setupFileText = QStringLiteral("saved.opn");
        f.commands.ApplyFolder(c.index, FilePath(c.chosen));
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), c.expectedInput) << c.name;
        EXPECT_EQ(f.setup.folders[kOutputSide].Text(), c.expectedOutput) << c.name;
        // A new input folder keeps the input specification, even when nothing there matches it.
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QStringLiteral("*.xyz")) << c.name;
        EXPECT_EQ(f.model.Labels().subfoldersExplanation, c.subfoldersExplanation) << c.name;
        EXPECT_EQ(f.setup.includeSubfolders, c.index == kOutputSide) << c.name;
        EXPECT_EQ(f.model.Labels().folderTexts[c.index], c.index == 0 ? c.expectedInput : c.expectedOutput);
        EXPECT_EQ(f.model.Labels().setupFileText, QString()) << c.name;
        EXPECT_TRUE(f.prompter.messages.empty()) << c.name;
    }
}

TEST(FileSpecCommandsTest, AFolderThatVanishedBeforeUseIsReported)
{
    CommandsFixture f;
    QString vanished;
    {
        TempFolder gone;
        vanished = gone.Path();
    }
    f.setup.folders = {FilePath(QStringLiteral("/in/")), FilePath(QStringLiteral("/in/"))};
    f.setup.inPlace = true;
    f.commands.ApplyFolder(kInputSide, FilePath(vanished));
    ASSERT_EQ(f.prompter.messages.size(), 1u);
    EXPECT_EQ(f.prompter.messages[0].text, QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_EQ(f.prompter.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(f.prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.setup.folders[kInputSide].Text(), QString());
    EXPECT_EQ(f.setup.folders[kOutputSide].Text(), QString());
    EXPECT_EQ(f.model.Labels().folderTexts[kInputSide], QStringLiteral("Not specified"));
}

TEST(FileSpecCommandsTest, InputFilesNeedAUsableInputFolder)
{
    TempFolder empty;
    TempFolder onlySubfolders;
    onlySubfolders.Folder("lower");
    TempFolder withFiles;
    withFiles.File("a.doc", 10);
    withFiles.File("b.txt", 10);
    withFiles.Folder("lower");
    const struct {
        const char* name;
        QString folder;
        bool shown;
        int numFiles;
        const char* message;
        const char* title;
    } cases[] = {
        {"no folder", QString(), false, -1, "The input folder has not been specified.", "Folder unspecified"},
        {"empty folder", empty.Path(), false, -1, "The input folder contains no files and no subfolders.",
         "Empty folder"},
        {"only subfolders", onlySubfolders.Path(), true, 0, nullptr, nullptr},
        // Only whether there are files: the dialog lists them itself.
        {"files", withFiles.Path(), true, 1, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        CommandsFixture f;
        f.values.fileListCount = -1;
        f.setup.folders[kInputSide] = FilePath(c.folder);
        EXPECT_EQ(f.commands.PrepareInputFiles(), c.shown) << c.name;
        EXPECT_EQ(f.values.fileListCount, c.numFiles) << c.name;
        if (c.message) {
            ASSERT_EQ(f.prompter.messages.size(), 1u) << c.name;
            EXPECT_EQ(f.prompter.messages[0].text, QString::fromLatin1(c.message));
            EXPECT_EQ(f.prompter.messages[0].title, QString::fromLatin1(c.title));
            EXPECT_EQ(f.prompter.messages[0].icon, MessageIcon::Exclamation);
        } else {
            EXPECT_TRUE(f.prompter.messages.empty()) << c.name;
        }
    }
}

TEST(FileSpecCommandsTest, AcceptedInputFileChoices)
{
    TempFolder folder;
    folder.File("report.txt", 10);
    const struct {
        const char* name;
        InputFilesChoice choice;
        QString outputFolder;
        const char* expectedInputSpec;
        const char* expectedOutputSpec;
        bool sameAfterwards;
        int messages;  // the check of the new specification
    } cases[] = {
        {"single file",
         {InputFilesOption::SingleFile, "report.txt"},
         "/out/",
         "report.txt",
         "old.enc",
         false,
         0},
        {"all files", {InputFilesOption::AllFiles, ""}, "/out/", "*.*", "*.*", false, 0},
        {"all files into the same folder", {InputFilesOption::AllFiles, ""}, "", "*.*", "*.*", true, 0},
        {"extension", {InputFilesOption::Extension, "DOC"}, "/out/", "*.DOC", "old.enc", false, 1},
        {"specification", {InputFilesOption::MultipleFiles, "r*.t*"}, "/out/", "r*.t*", "old.enc", false, 0},
    };
    for (const auto& c : cases) {
        CommandsFixture f;
        f.setup.folders = {FilePath(folder.Path()),
                           FilePath(c.outputFolder.isEmpty() ? folder.Path() : c.outputFolder)};
        f.setup.fileSpecs = {QString(), QStringLiteral("old.enc")};
        f.model.Labels().setupFileText = QStringLiteral("saved.opn");
        f.commands.ApplyInputFiles(c.choice);
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QString::fromLatin1(c.expectedInputSpec)) << c.name;
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide], QString::fromLatin1(c.expectedOutputSpec)) << c.name;
        EXPECT_EQ(f.setup.inPlace, c.sameAfterwards) << c.name;
        EXPECT_EQ(f.model.Labels().inPlaceText, c.sameAfterwards ? "Yes" : "No") << c.name;
        EXPECT_EQ(f.model.Labels().specTexts[kInputSide], QString::fromLatin1(c.expectedInputSpec)) << c.name;
        EXPECT_EQ(f.model.Labels().specTexts[kOutputSide], QString::fromLatin1(c.expectedOutputSpec))
            << c.name;
        EXPECT_EQ(f.model.Labels().setupFileText, QString()) << c.name;
        EXPECT_EQ(static_cast<int>(f.prompter.messages.size()), c.messages) << c.name;
        if (c.messages == 1) {
            EXPECT_EQ(f.prompter.messages[0].text,
                      QStringLiteral("The input folder contains no matching files and no subfolders."));
        }
    }
}

TEST(FileSpecCommandsTest, InputFilesWrittenInPlaceKeepBothSidesEqual)
{
    CommandsFixture f;
    TempFolder folder;
    folder.File("a.doc", 10);
    f.setup.folders = {FilePath(folder.Path()), FilePath(folder.Path())};
    f.setup.fileSpecs = {QStringLiteral("*.*"), QStringLiteral("*.*")};
    f.setup.inPlace = true;
    f.commands.ApplyInputFiles({InputFilesOption::Extension, QStringLiteral("doc")});
    EXPECT_EQ(f.setup.fileSpecs[kOutputSide], QStringLiteral("*.doc"));
    EXPECT_TRUE(f.setup.inPlace);
    EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(FileSpecCommandsTest, OutputFilesNeedAnOutputFolderOfTheirOwn)
{
    TempFolder withFiles;
    withFiles.File("a.enc", 10);
    QString vanished;
    {
        TempFolder gone;
        vanished = gone.Path();
    }
    const struct {
        const char* name;
        QString folder;
        bool outputFilesSame;
        bool shown;
        const char* message;
        const char* title;
        MessageIcon icon;
    } cases[] = {
        {"no folder", QString(), false, false, "The output folder has not been specified.",
         "Folder unspecified", MessageIcon::Exclamation},
        {"in place", withFiles.Path(), true, false,
         "Currently output files are specified as the same as the input files.", "Specify output files",
         MessageIcon::None},
        {"vanished", vanished, false, false, nullptr, "Error", MessageIcon::Exclamation},
        {"usable", withFiles.Path(), false, true, nullptr, nullptr, MessageIcon::None},
    };
    for (const auto& c : cases) {
        CommandsFixture f;
        f.setup.folders[kOutputSide] = FilePath(c.folder);
        f.setup.inPlace = c.outputFilesSame;
        EXPECT_EQ(f.commands.PrepareOutputFiles(), c.shown) << c.name;
        if (c.shown) {
            EXPECT_EQ(f.values.fileListCount, 1);
            EXPECT_TRUE(f.prompter.messages.empty());
            continue;
        }
        ASSERT_EQ(f.prompter.messages.size(), 1u) << c.name;
        const QString expected =
            c.message ? QString::fromLatin1(c.message) : "Error when attempting to access " + c.folder + ".";
        EXPECT_EQ(f.prompter.messages[0].text, expected) << c.name;
        EXPECT_EQ(f.prompter.messages[0].title, QString::fromLatin1(c.title)) << c.name;
        EXPECT_EQ(f.prompter.messages[0].icon, c.icon) << c.name;
    }
}

TEST(FileSpecCommandsTest, AcceptedOutputFileChoices)
{
    const struct {
        const char* name;
        const char* inputSpec;
        OutputFilesChoice choice;
        const char* expected;
    } cases[] = {
        {"existing file", "report.txt", {OutputFilesOption::ExistingFile, "old.enc"}, "old.enc"},
        {"new file", "report.txt", {OutputFilesOption::NewFile, "new.enc"}, "new.enc"},
        {"extension after a name", "report.txt", {OutputFilesOption::Extension, "enc"}, "report.enc"},
        {"extension after a wildcard", "*.txt", {OutputFilesOption::Extension, "enc"}, "*.enc"},
        {"extension without input", "", {OutputFilesOption::Extension, "enc"}, "*.enc"},
        {"specification", "*.txt", {OutputFilesOption::MultipleFiles, "x*.*"}, "x*.*"},
    };
    for (const auto& c : cases) {
        CommandsFixture f;
        f.setup.folders = {FilePath(QStringLiteral("/in/")), FilePath(QStringLiteral("/out/"))};
        f.setup.fileSpecs = {QString::fromLatin1(c.inputSpec), QString()};
        f.model.Labels().setupFileText = QStringLiteral("saved.opn");
        f.commands.ApplyOutputFiles(c.choice);
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide], QString::fromLatin1(c.expected)) << c.name;
        EXPECT_EQ(f.model.Labels().specTexts[kOutputSide], QString::fromLatin1(c.expected)) << c.name;
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QString::fromLatin1(c.inputSpec)) << c.name;
        EXPECT_EQ(f.model.Labels().setupFileText, QString()) << c.name;
    }
}
