#include <gtest/gtest.h>

#include "FolderFixture.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderWalkGuard.h"

namespace kyv {
namespace {

using test::FolderFixture;
using test::RawListingOrder;

TEST(ListFolder, FilesAndSubfoldersInTheFileSystemsOwnOrder)
{
    FolderFixture folder;
    for (int n = 0; n < 40; ++n)
        folder.MakeFile(QStringLiteral("file%1.%2")
                            .arg(n)
                            .arg(n % 2 == 0 ? QStringLiteral("doc") : QStringLiteral("txt")),
                        1);
    folder.MakeFile(QStringLiteral(".hidden.doc"), 1);
    for (int n = 0; n < 5; ++n) folder.MakeFolder(QStringLiteral("folder%1").arg(n));

    QString errorText;
    const std::optional<FolderListing> listing =
        ListFolder(folder.Path(), QStringLiteral("*.doc"), errorText);
    ASSERT_TRUE(listing.has_value()) << errorText.toStdString();
    const QStringList rawFiles = RawListingOrder(folder.Path(), DT_REG);
    ASSERT_EQ(rawFiles.size(), 41);
    EXPECT_EQ(listing->files, rawFiles);
    EXPECT_EQ(listing->subfolders, RawListingOrder(folder.Path(), DT_DIR));
    QStringList expectedMatches;
    for (const QString& name : rawFiles) {
        if (name.endsWith(QStringLiteral(".doc"))) expectedMatches.append(name);
    }
    EXPECT_EQ(expectedMatches.size(), 21);
    EXPECT_EQ(listing->matchingFiles, expectedMatches);
}

TEST(ListFolder, TakenBeforeTheFolderChanges)
{
    // The listing is what the walk works on: files made afterwards in the folder are not in it.
    FolderFixture folder;
    folder.MakeFile(QStringLiteral("a.txt"), 1);
    QString errorText;
    const std::optional<FolderListing> listing = ListFolder(folder.Path(), QStringLiteral("*.*"), errorText);
    ASSERT_TRUE(listing.has_value());
    folder.MakeFile(QStringLiteral("a.txt.enc"), 1);
    EXPECT_EQ(listing->matchingFiles, QStringList{QStringLiteral("a.txt")});
}

TEST(ListFolder, UnreadableFolderGivesNothingAndTheSystemsText)
{
    FolderFixture folder;
    QString errorText;
    EXPECT_FALSE(ListFolder(folder.PathOf(QStringLiteral("missing/")), QStringLiteral("*.*"), errorText));
    EXPECT_EQ(errorText,
              QString::fromStdString(std::make_error_code(std::errc::no_such_file_or_directory).message()));
}

TEST(FolderWalkGuard, EachRealFolderOnce)
{
    FolderFixture folder;
    const QString real = folder.MakeFolder(QStringLiteral("real"));
    folder.MakeFolder(QStringLiteral("other"));
    ASSERT_TRUE(folder.MakeLink(QStringLiteral("link"), real));
    ASSERT_TRUE(folder.MakeLink(QStringLiteral("real/back"), folder.Path()));

    FolderWalkGuard guard;
    EXPECT_TRUE(guard.FirstVisit(folder.Path()));
    EXPECT_TRUE(guard.FirstVisit(real));
    EXPECT_FALSE(guard.FirstVisit(real));
    EXPECT_FALSE(guard.FirstVisit(folder.PathOf(QStringLiteral("link/"))));
    EXPECT_FALSE(guard.FirstVisit(folder.PathOf(QStringLiteral("real/back/"))));
    EXPECT_FALSE(guard.FirstVisit(folder.PathOf(QStringLiteral("real/back/real/back"))));
    EXPECT_TRUE(guard.FirstVisit(folder.PathOf(QStringLiteral("other"))));
    // A folder that cannot be examined is left to the walk, which reports the failure.
    EXPECT_TRUE(guard.FirstVisit(folder.PathOf(QStringLiteral("missing"))));
    EXPECT_TRUE(guard.FirstVisit(folder.PathOf(QStringLiteral("missing"))));
}

}  // namespace
}  // namespace kyv
