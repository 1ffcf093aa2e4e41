// Copies of a folder's matching files under mapped names, and what counts as not copied.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "FolderFixture.h"
#include "core/files/MatchingFileCopy.h"
#include "platform/FilePath.h"

namespace kyv::test {
namespace {

using platform::FilePath;

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(MatchingFileCopyTest, CountsEveryFileThatWasNotCopied)
{
    struct Case {
        const char* name;
        const char* destinationSpec;
        bool overwrite;
        std::function<void(const FolderFixture&)> arrange;
        int notCopied;
        const char* bContents;  // b.bak afterwards
    };
    const Case cases[] = {
        {"all copied", "*.bak", false, [](const FolderFixture&) {}, 0, "bee"},
        {"target kept", "*.bak", false,
         [](const FolderFixture& f) { f.MakeFile("b.bak", QByteArray("old")); }, 1, "old"},
        {"target overwritten", "*.bak", true,
         [](const FolderFixture& f) { f.MakeFile("b.bak", QByteArray("old")); }, 0, "bee"},
        {"copy fails", "*.bak", true, [](const FolderFixture& f) { QDir().mkpath(f.PathOf("b.bak/x")); }, 1,
         "<missing>"},
        {"names cannot be made", "", true, [](const FolderFixture&) {}, 2, "<missing>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderFixture folder;
        ASSERT_TRUE(folder.IsValid());
        folder.MakeFile("a.tst", QByteArray("ay"));
        folder.MakeFile("b.tst", QByteArray("bee"));
        folder.MakeFile("c.txt", QByteArray("not matched"));
        c.arrange(folder);

        EXPECT_EQ(CopyMatchingFiles(FilePath(folder.Path()), "*.tst", FilePath(folder.Path()),
                                    c.destinationSpec, c.overwrite),
                  c.notCopied);
        EXPECT_EQ(Contents(folder.PathOf("b.bak")), QByteArray(c.bContents));
        EXPECT_FALSE(QFile::exists(folder.PathOf("c.bak")));
    }
}

}  // namespace
}  // namespace kyv::test
