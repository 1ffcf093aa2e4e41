#include <gtest/gtest.h>

#include "FolderFixture.h"
#include "core/files/FolderPath.h"
#include "core/files/InputFolderCheck.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

using platform::FilePath;
using test::FakePrompter;
using test::FolderFixture;

TEST(CheckInputFolder, ResultsAndMessages)
{
    FolderFixture withText;
    withText.MakeFile(QStringLiteral("notes.txt"), 1);
    FolderFixture onlySubfolders;
    onlySubfolders.MakeFolder(QStringLiteral("lower"));
    FolderFixture empty;

    const struct {
        QString folder;
        const char* spec;
        bool accepted;
        const char* text;  // nullptr: no message
        const char* title;
        MessageIcon icon;
    } cases[] = {
        {withText.Path(), "*.*", true, nullptr, nullptr, MessageIcon::None},
        {withText.Path(), "*.txt", true, nullptr, nullptr, MessageIcon::None},
        {onlySubfolders.Path(), "*.doc", true, nullptr, nullptr, MessageIcon::None},
        {empty.Path(), "*.*", false, "The input folder contains no files and no subfolders.", "Empty folder",
         MessageIcon::Exclamation},
        {withText.Path(), "*.doc", false, "The input folder contains no matching files and no subfolders.",
         "Empty folder", MessageIcon::Exclamation},
        {empty.Path(), "report.doc", false, "The input folder contains no matching files and no subfolders.",
         "Empty folder", MessageIcon::Exclamation},
        {empty.PathOf(QStringLiteral("missing/")), "*.*", false, "Cannot access the input folder.", "Error",
         MessageIcon::Error},
        {withText.PathOf(QStringLiteral("notes.txt")), "*.*", false, "Cannot access the input folder.",
         "Error", MessageIcon::Error},
    };
    for (const auto& c : cases) {
        FakePrompter prompter;
        EXPECT_EQ(CheckInputFolder(FilePath(c.folder), QString::fromLatin1(c.spec), prompter), c.accepted)
            << c.folder.toStdString() << " " << c.spec;
        if (c.text == nullptr) {
            EXPECT_TRUE(prompter.messages.empty());
            continue;
        }
        ASSERT_EQ(prompter.messages.size(), 1u);
        const Message& shown = prompter.messages.front();
        EXPECT_EQ(shown.text, QString::fromLatin1(c.text));
        EXPECT_EQ(shown.title, QString::fromLatin1(c.title));
        EXPECT_EQ(shown.icon, c.icon);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    }
}

TEST(CheckInputFolder, UnreadableFolder)
{
    FolderFixture folder;
    const QString locked = folder.MakeFolder(QStringLiteral("locked"));
    folder.MakeFile(QStringLiteral("locked/secret.txt"), 1);
    test::LockedFolder lock(locked);
    const std::string outcome = test::RunWithoutPrivileges([&locked]() -> std::string {
        FakePrompter prompter;
        if (CheckInputFolder(FilePath(locked), QStringLiteral("*.*"), prompter)) return "accepted";
        if (prompter.messages.size() != 1 || prompter.messages[0].text != u"Cannot access the input folder.")
            return "wrong message";
        return {};
    });
    EXPECT_EQ(outcome, "");
}

}  // namespace
}  // namespace kyv
