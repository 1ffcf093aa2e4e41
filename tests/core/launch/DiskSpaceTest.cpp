// The disk-space check: the figures in its message, the rounding of free space, the comparison,
// which drive is asked and when the size-gathering pass runs at all.

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "LaunchFixture.h"
#include "core/launch/DiskSpaceCheck.h"
#include "platform/Drives.h"

namespace kyv::test {
namespace {

constexpr std::int64_t kKb = 1024;

TEST(InsufficientSpaceMessage, ShowsKilobytesUpTo1023AndMegabytesAbove)
{
    struct Case {
        std::int64_t requiredBytes;
        std::int64_t freeKilobytes;
        const char* expected;
    };
    const Case cases[] = {
        {12600 * kKb, 9585,
         "Estimated space required on drive D: is 12 MB, but there is only 9.3603515625 MB available."},
        {1023 * kKb, 1000,
         "Estimated space required on drive D: is 1023 KB, but there is only 1000 KB available."},
        {1024 * kKb, 1023,
         "Estimated space required on drive D: is 1 MB, but there is only 1023 KB available."},
        {1536 * kKb, 1024, "Estimated space required on drive D: is 1 MB, but there is only 1 MB available."},
        // The free megabytes keep their decimals; the required ones are whole.
        {2048 * kKb, 1536,
         "Estimated space required on drive D: is 2 MB, but there is only 1.5 MB available."},
        {1536 * kKb, 1535,
         "Estimated space required on drive D: is 1 MB, but there is only 1.4990234375 MB available."},
        {2048 * kKb, 2044,
         "Estimated space required on drive D: is 2 MB, but there is only 1.99609375 MB available."},
        // The kilobytes shown are whole: 1023.9 KB still reads as kilobytes.
        {1023 * kKb + 1000, 5,
         "Estimated space required on drive D: is 1023 KB, but there is only 5 KB available."},
        {100 * kKb + 410, 100,
         "Estimated space required on drive D: is 100 KB, but there is only 100 KB available."},
        {1, 0, "Estimated space required on drive D: is 0 KB, but there is only 0 KB available."},
        // Beyond the old 32-bit limits: 3 TiB required on a drive with 2.5 TiB free.
        {3 * kKb * kKb * kKb * kKb, 5 * kKb * kKb * kKb / 2,
         "Estimated space required on drive D: is 3145728 MB, but there is only 2621440 MB available."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsufficientSpaceMessage("D:", c.requiredBytes, c.freeKilobytes),
                  QString::fromLatin1(c.expected));
}

TEST(RoundedKilobytes, RoundsToTheNearestWithHalvesToEven)
{
    struct Case {
        std::uint64_t bytes;
        std::int64_t kilobytes;
    };
    const Case cases[] = {
        {0, 0},
        {511, 0},
        {512, 0},
        {513, 1},
        {1024, 1},
        {1535, 1},
        {1536, 2},
        {2560, 2},
        {2561, 3},
        {3584, 4},
        {9585 * 1024, 9585},
        // 2 TiB and more free, and the largest figure a drive can report.
        {std::uint64_t(2) << 40, std::int64_t(2) << 30},
        {(std::uint64_t(5) << 40) + 512, std::int64_t(5) << 30},
        {UINT64_MAX, std::int64_t(1) << 54},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundedKilobytes(c.bytes), c.kilobytes) << c.bytes;
}

TEST(SpaceSuffices, EqualSizesPassAndAFractionMoreFails)
{
    struct Case {
        std::int64_t requiredBytes;
        std::int64_t freeKilobytes;
        bool suffices;
    };
    const Case cases[] = {
        {100 * kKb, 100, true},
        {100 * kKb + 410, 100, false},  // 100.4 KB against 100 KB
        {100 * kKb + 1, 100, false},
        {100 * kKb - 1, 100, true},
        {1536 * kKb, 1536, true},
        {1, 0, false},
        {std::int64_t(3) << 40, std::int64_t(3) << 30, true},
        {(std::int64_t(3) << 40) + 1, std::int64_t(3) << 30, false},
        {std::int64_t(1) << 62, std::int64_t(1) << 54, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpaceSuffices(c.requiredBytes, c.freeKilobytes), c.suffices)
            << c.requiredBytes << " " << c.freeKilobytes;
}

class DiskSpaceLaunch : public LaunchFixture {
protected:
    const Message* Last() const { return prompter.messages.empty() ? nullptr : &prompter.messages.back(); }
};

TEST_F(DiskSpaceLaunch, SeparateOutputNeedsTheSumOfTheInputSizes)
{
    struct Case {
        quint64 freeBytes;
        bool runs;
    };
    // 1000 + 3000 + 20000 bytes: 23.4375 KB; 23 KB free fails (rounded from 23.4), 24 KB passes.
    for (const Case c : {Case{23 * 1024 + 400, false}, Case{23 * 1024 + 512, true}, Case{24 * 1024, true}}) {
        Write("in/a.txt", 1000);
        Write("in/b.txt", 3000);
        Write("in/c.txt", 20000);
        const QString out = Folder("out");
        Select(Root() + "in/", "*.txt", out, "*.enc");
        TypeKey(key, "sixteen chars ok");
        freeSpace.bytes = c.freeBytes;
        prompter.messages.clear();

        const LaunchResult result = Launch();

        EXPECT_EQ(result.requiredBytes, 24000);
        EXPECT_EQ(freeSpace.askedPaths.last(), out);
        if (c.runs) {
            EXPECT_EQ(result.outcome, LaunchOutcome::Ran);
            EXPECT_TRUE(prompter.messages.empty());
        } else {
            EXPECT_EQ(result.outcome, LaunchOutcome::NotStarted);
            ASSERT_NE(Last(), nullptr);
            EXPECT_EQ(Last()->text, "Estimated space required on drive " + platform::DriveOf(out) +
                                        " is 23 KB, but there is only 23 KB available.");
            EXPECT_EQ(Last()->title, "Insufficient disk space");
            EXPECT_EQ(Last()->icon, MessageIcon::Exclamation);
            EXPECT_EQ(report.shows, 0);
            EXPECT_EQ(fakeEngine.keyedCalls, 0);
        }
    }
}

TEST_F(DiskSpaceLaunch, InPlaceOnANormalFolderSkipsTheSizePass)
{
    Write("a.txt", 5000);
    Select(Root(), "*.txt", Root(), "*.txt");
    setup.inPlace = true;
    TypeKey(key, "sixteen chars ok");
    freeSpace.bytes = 0;  // whatever the free space

    const LaunchResult result = Launch();

    EXPECT_EQ(result.outcome, LaunchOutcome::Ran);
    EXPECT_TRUE(freeSpace.askedPaths.isEmpty());
    EXPECT_EQ(report.sink.runStarts, 1);  // the real run only
    EXPECT_EQ(result.requiredBytes, 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DiskSpaceLaunch, InPlaceOnAFloppyNeedsTheLargestFileOnTheFirstFixedDrive)
{
    const QString floppy = Folder("floppy");
    floppies.Declare(floppy);
    Write("floppy/a.txt", 3000);
    Write("floppy/b.txt", 9000);
    Write("floppy/c.txt", 4000);
    Select(floppy, "*.txt", floppy, "*.txt");
    setup.inPlace = true;
    TypeKey(key, "sixteen chars ok");
    freeSpace.bytes = 8 * 1024;

    const LaunchResult result = Launch();

    EXPECT_EQ(result.outcome, LaunchOutcome::NotStarted);
    EXPECT_EQ(result.requiredBytes, 9000);
    ASSERT_EQ(freeSpace.askedPaths.size(), 1);
    EXPECT_EQ(freeSpace.askedPaths[0], platform::FirstFixedDrive());
    ASSERT_NE(Last(), nullptr);
    EXPECT_EQ(Last()->text, "Estimated space required on drive " + platform::FirstFixedDrive() +
                                " is 8 KB, but there is only 8 KB available.");
}

TEST_F(DiskSpaceLaunch, StopsThatEndARunBeforeItStarts)
{
    struct Case {
        const char* name;
        bool duplicateNames;
        bool emptyFiles;
        bool driveUnreadable;
        QString text;
        QString title;
    };
    const Case cases[] = {
        {"duplicate names", true, false, false,
         "Output file specification \"x.enc\" produces duplicate output filenames!", "Error"},
        {"zero bytes", false, true, false, "Total input filesize is 0 bytes.", "Error"},
        {"unreadable drive", false, false, true, "Error when attempting to access drive ", "Error"},
    };
    for (const Case& c : cases) {
        for (bool testRunning : {false, true}) {
            prompter.messages.clear();
            const QString in = Folder(QString::fromLatin1(c.name).replace(' ', '_'));
            const QString out = Folder("out");
            Write(QString::fromLatin1(c.name).replace(' ', '_') + "/a.txt", c.emptyFiles ? 0 : 10);
            Write(QString::fromLatin1(c.name).replace(' ', '_') + "/b.txt", c.emptyFiles ? 0 : 10);
            Select(in, "*.txt", out, c.duplicateNames ? "x.enc" : "*.enc");
            TypeKey(key, "sixteen chars ok");
            freeSpace.bytes = c.driveUnreadable ? std::nullopt : std::optional<quint64>(1 << 30);
            report.state.control.reliabilityTestRunning = testRunning;

            const LaunchResult result = Launch();

            EXPECT_EQ(result.outcome, LaunchOutcome::NotStarted) << c.name;
            EXPECT_EQ(result.abortReliabilityTest, testRunning) << c.name;
            ASSERT_NE(Last(), nullptr) << c.name;
            const QString expected = c.driveUnreadable ? c.text + platform::DriveOf(out) : c.text;
            EXPECT_EQ(Last()->text, expected) << c.name;
            EXPECT_EQ(Last()->title, c.title) << c.name;
            EXPECT_EQ(report.shows, 0) << c.name;
            EXPECT_EQ(fakeEngine.keyedCalls, 0) << c.name;
        }
    }
}

// A subfolder the walk cannot list (search allowed, reading not), in a run that gathers sizes (in
// place on a floppy): for root, this thread checks files as the user nobody, which also sets aside
// root's power to read any folder.
TEST_F(DiskSpaceLaunch, FolderThatCannotBeListedIsNamedInsteadOfZeroBytes)
{
    const QString floppy = Folder("floppy");
    floppies.Declare(floppy);
    const QString locked = Folder("floppy/locked");
    Write("floppy/locked/a.txt", 10);
    ASSERT_EQ(::chmod(QFile::encodeName(Root()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0311), 0);
    Select(floppy, "*.txt", floppy, "*.txt");
    setup.inPlace = true;
    setup.includeSubfolders = true;
    TypeKey(key, "sixteen chars ok");
    freeSpace.bytes = 1 << 30;
    const bool root = ::geteuid() == 0;
    if (root) ::setfsuid(65534);
    const bool listable = !QDir(locked).entryList(QDir::Files).isEmpty();
    const LaunchResult result = Launch();
    if (root) ::setfsuid(0);
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    if (listable) GTEST_SKIP() << "this system lets the test list a folder without read permission";

    EXPECT_EQ(result.outcome, LaunchOutcome::NotStarted);
    ASSERT_NE(Last(), nullptr);
    EXPECT_EQ(Last()->text, "The folder " + locked + " cannot be read, so there is nothing to process.");
}

}  // namespace
}  // namespace kyv::test
