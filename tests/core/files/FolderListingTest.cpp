#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>

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
        ListFolder(platform::FilePath(folder.Path()), QStringLiteral("*.doc"), errorText);
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
    const std::optional<FolderListing> listing =
        ListFolder(platform::FilePath(folder.Path()), QStringLiteral("*.*"), errorText);
    ASSERT_TRUE(listing.has_value());
    folder.MakeFile(QStringLiteral("a.txt.enc"), 1);
    EXPECT_EQ(listing->matchingFiles, QStringList{QStringLiteral("a.txt")});
}

// Entries the file specification asks for that are no file a run can take are named with the reason;
// those it does not ask for are not.
TEST(ListFolder, NamesTheEntriesItLeavesOut)
{
    using Reason = LeftOutEntry::Reason;
    FolderFixture folder;
    const auto path = [&](const char* name) {
        return folder.PathOf(QString::fromLatin1(name)).toStdString();
    };
    for (const char* name : {"a.txt", "star*.txt", "q?.txt", "star*.doc"})
        folder.MakeFile(QString::fromLatin1(name), 1);
    for (const char* name : {"pipe.txt", "pipe.doc"}) ASSERT_EQ(::mkfifo(path(name).c_str(), 0600), 0);
    ASSERT_TRUE(folder.MakeLink(QStringLiteral("fifolink.txt"), folder.PathOf(QStringLiteral("pipe.txt"))));
    ASSERT_TRUE(folder.MakeLink(QStringLiteral("dangling.txt"), folder.PathOf(QStringLiteral("gone"))));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("sock.txt");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(sock);

    QString errorText;
    const std::optional<FolderListing> listing =
        ListFolder(platform::FilePath(folder.Path()), QStringLiteral("*.txt"), errorText);
    ASSERT_TRUE(listing.has_value()) << errorText.toStdString();
    EXPECT_EQ(listing->matchingFiles, QStringList{QStringLiteral("a.txt")});
    std::vector<LeftOutEntry> leftOut = listing->leftOut;
    std::sort(leftOut.begin(), leftOut.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    const std::vector<LeftOutEntry> expected = {
        {QStringLiteral("dangling.txt"), Reason::NotARegularFile},
        {QStringLiteral("fifolink.txt"), Reason::NotARegularFile},
        {QStringLiteral("pipe.txt"), Reason::NotARegularFile},
        {QStringLiteral("q?.txt"), Reason::WildcardInName},
        {QStringLiteral("sock.txt"), Reason::NotARegularFile},
        {QStringLiteral("star*.txt"), Reason::WildcardInName},
    };
    EXPECT_EQ(leftOut, expected);
}

TEST(ListFolder, UnreadableFolderGivesNothingAndTheSystemsText)
{
    FolderFixture folder;
    QString errorText;
    EXPECT_FALSE(ListFolder(platform::FilePath(folder.PathOf(QStringLiteral("missing/"))),
                            QStringLiteral("*.*"), errorText));
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
    EXPECT_TRUE(guard.FirstVisit(platform::FilePath(folder.Path())));
    EXPECT_TRUE(guard.FirstVisit(platform::FilePath(real)));
    EXPECT_FALSE(guard.FirstVisit(platform::FilePath(real)));
    EXPECT_FALSE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("link/")))));
    EXPECT_FALSE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("real/back/")))));
    EXPECT_FALSE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("real/back/real/back")))));
    EXPECT_TRUE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("other")))));
    // A folder that cannot be examined is left to the walk, which reports the failure.
    EXPECT_TRUE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("missing")))));
    EXPECT_TRUE(guard.FirstVisit(platform::FilePath(folder.PathOf(QStringLiteral("missing")))));
}

}  // namespace
}  // namespace kyv
