#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>

#include "platform/FileIdentity.h"

namespace kyv::platform {
namespace {

namespace fs = std::filesystem;

class FileIdentityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        root_ = fs::path(QFile::encodeName(dir_.path()).toStdString());
        QFile file(dir_.filePath(QStringLiteral("a.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("twelve bytes"), 12);
        file.close();
        QFile other(dir_.filePath(QStringLiteral("b.txt")));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.close();
        fs::create_directory(root_ / "sub");
        fs::create_symlink(root_ / "a.txt", root_ / "link.txt");
        fs::create_hard_link(root_ / "a.txt", root_ / "hard.txt");
        fs::create_symlink(root_ / "gone.txt", root_ / "dangling.txt");
    }

    QTemporaryDir dir_;
    fs::path root_;
};

TEST_F(FileIdentityTest, OneLookTellsWhatAFileIsAndWhichFile)
{
    const FileIdentity a = IdentifyFile(root_ / "a.txt");
    struct Case {
        const char* name;
        int error;
        bool regular;
        bool sameAsA;
    };
    const Case cases[] = {
        {"a.txt", 0, true, true},
        {"link.txt", 0, true, true},
        {"hard.txt", 0, true, true},
        {"b.txt", 0, true, false},
        {"sub", 0, false, false},
        {"missing.txt", ENOENT, false, false},
        {"dangling.txt", ENOENT, false, false},
    };
    const OpenFolder folder(root_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The open folder answers exactly as a look at the whole path does.
        for (const FileIdentity& identity : {IdentifyFile(root_ / c.name), folder.Identify(c.name)}) {
            EXPECT_EQ(identity.error, c.error);
            EXPECT_EQ(identity.Seen(), c.error == 0);
            EXPECT_EQ(identity.regular, c.regular);
            EXPECT_EQ(SameFile(identity, a), c.sameAsA);
            if (c.sameAsA) {
                EXPECT_EQ(identity.size, 12u);
            }
        }
    }
    // Two files never seen are not the same file.
    EXPECT_FALSE(SameFile(IdentifyFile(root_ / "missing.txt"), IdentifyFile(root_ / "gone.txt")));
}

TEST_F(FileIdentityTest, AFolderThatCannotBeOpenedIsLookedAtByPath)
{
    const OpenFolder missing(root_ / "not-here");
    EXPECT_EQ(missing.Identify("a.txt").error, ENOENT);
    // A file given in place of the folder.
    const OpenFolder file(root_ / "a.txt");
    EXPECT_EQ(file.Identify("x").error, ENOTDIR);
}

}  // namespace
}  // namespace kyv::platform
