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
        ASSERT_TRUE(dir.isValid());
        root = fs::path(QFile::encodeName(dir.path()).toStdString());
        QFile file(dir.filePath(QStringLiteral("a.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("twelve bytes"), 12);
        file.close();
        QFile other(dir.filePath(QStringLiteral("b.txt")));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.close();
        fs::create_directory(root / "sub");
        fs::create_symlink(root / "a.txt", root / "link.txt");
        fs::create_hard_link(root / "a.txt", root / "hard.txt");
        fs::create_symlink(root / "gone.txt", root / "dangling.txt");
    }

    QTemporaryDir dir;
    fs::path root;
};

TEST_F(FileIdentityTest, OneLookTellsWhatAFileIsAndWhichFile)
{
    const FileIdentity a = IdentifyFile(root / "a.txt");
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
    const OpenFolder folder(root);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The open folder answers exactly as a look at the whole path does.
        for (const FileIdentity& identity : {IdentifyFile(root / c.name), folder.Identify(c.name)}) {
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
    EXPECT_FALSE(SameFile(IdentifyFile(root / "missing.txt"), IdentifyFile(root / "gone.txt")));
}

TEST_F(FileIdentityTest, AFolderThatCannotBeOpenedIsLookedAtByPath)
{
    const OpenFolder missing(root / "not-here");
    EXPECT_EQ(missing.Identify("a.txt").error, ENOENT);
    // A file given in place of the folder.
    const OpenFolder file(root / "a.txt");
    EXPECT_EQ(file.Identify("x").error, ENOTDIR);
}

}  // namespace
}  // namespace kyv::platform
