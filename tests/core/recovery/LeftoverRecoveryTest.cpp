// Real folders holding each kind of leftover an interrupted run can leave: what the scan calls
// each file, what --apply does with it, and that nothing which may be the only copy of some data
// is ever removed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/files/FolderPath.h"
#include "core/operation/InPlaceFiles.h"
#include "core/recovery/FileAuthenticator.h"
#include "core/recovery/LeftoverRecovery.h"
#include "core/recovery/RecoveryText.h"
#include "engine/cipher/ChunkedCipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "engine/filelib/OriginalNameRecord.h"
#include "platform/FolderLock.h"
#include "support/FakeCipherEngine.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;
using Kind = Leftover::Kind;
using Action = Leftover::Action;

constexpr cipher::KdfPolicy kCheap{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}};
constexpr std::size_t kPlainSize = 70000;  // two chunks
const char* const kHidden = "0123456789ab";

std::string Key(char fill) { return std::string(cipher::kKeyLength, fill); }

// What a purge's random pass leaves.
std::string RandomLooking(std::size_t size)
{
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

// A scratch folder and the real engine that fills it.
class Scene {
public:
    Scene() : root_(dir_.path().toStdString()) {}

    [[nodiscard]] fs::path Path(const std::string& name) const { return root_ / name; }
    [[nodiscard]] const fs::path& Root() const { return root_; }

    void Write(const std::string& name, const std::string& bytes, fs::perms mode = fs::perms(0644)) const
    {
        WriteWholeFile(Path(name), bytes);
        fs::permissions(Path(name), mode);
    }
    // The original's contents.
    void Plain(const std::string& name, fs::perms mode = fs::perms(0644)) const
    {
        Write(name, PlainBytes(kPlainSize), mode);
    }
    // The encryption of an original, as the engine leaves it (owner-only).
    void Sealed(const std::string& name)
    {
        Plain("source.tmp");
        const std::string key = Key('K');
        ASSERT_EQ(engine_->Encrypt(EngineKeyOf(key), Path("source.tmp"), Path(name)).result,
                  cipher::CipherResult::Success);
        fs::remove(Path("source.tmp"));
    }
    // A hidden original caught in its purge, with the purge's record of which file it was.
    void Hidden(const std::string& name, const std::string& original, std::size_t size = kPlainSize,
                fs::perms mode = fs::perms(0644)) const
    {
        Write(name, RandomLooking(size));
        Record(name, original);
        fs::permissions(Path(name), mode);
    }
    void Record(const std::string& name, const std::string& original) const
    {
        const int fd = ::open(Path(name).c_str(), O_WRONLY | O_CLOEXEC);
        const bool recorded = filelib::RecordOriginalName(fd, original);
        ::close(fd);
        if (!recorded) GTEST_SKIP() << "This file system takes no extended attributes.";
    }
    [[nodiscard]] std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    [[nodiscard]] cipher::ChunkedCipherEngine& Engine() { return *engine_; }

private:
    QTemporaryDir dir_;
    fs::path root_;
    std::unique_ptr<cipher::ChunkedCipherEngine> engine_ = cipher::ChunkedCipherEngine::Make(kCheap);
};

// A name too long for its temporary name to hold it whole, and the temporary name a run gives it.
const std::string kLongName = std::string(240, 'n') + ".txt";
const std::string kLongTemporary = std::string(231, 'n') + "~1";

struct Found {
    std::string name;
    Kind kind;
    Action action;
};

struct RecoveryCase {
    const char* name;
    void (*make)(Scene&);
    std::vector<Found> found;
    std::vector<std::string> afterApply;
};

const RecoveryCase kCases[] = {
    {"KilledWhileEncrypting",
     [](Scene& s) {
         s.Plain("a.txt");
         s.Write("a.txt1", "", fs::perms(0600));
         s.Write("a.txt1.kyvpart-00aa11bb22cc", PlainBytes(900), fs::perms(0600));
     },
     {{"a.txt1", Kind::Reservation, Action::Remove},
      {"a.txt1.kyvpart-00aa11bb22cc", Kind::WorkingFile, Action::Remove}},
     {"a.txt"}},
    {"KilledBeforeThePurge",
     [](Scene& s) {
         s.Plain("a.txt");
         s.Sealed("a.txt1");
     },
     {{"a.txt1", Kind::ResultBesideOriginal, Action::Leave}},
     {"a.txt", "a.txt1"}},
    {"KilledBeforeTheDecryptionsPurge",
     [](Scene& s) {
         s.Sealed("a.txt");
         s.Plain("a.txt1", fs::perms(0600));
     },
     {{"a.txt1", Kind::ResultBesideOriginal, Action::Leave}},
     {"a.txt", "a.txt1"}},
    {"KilledDuringThePurge",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Hidden(kHidden, "a.txt");
     },
     {{kHidden, Kind::HalfPurged, Action::Purge}, {"a.txt1", Kind::OrphanResult, Action::Rename}},
     {"a.txt"}},
    {"KilledDuringThePurgeOfAReadOnlyFile",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Hidden(kHidden, "a.txt", kPlainSize, fs::perms(0400));
     },
     {{kHidden, Kind::HalfPurged, Action::Purge}, {"a.txt1", Kind::OrphanResult, Action::Rename}},
     {"a.txt"}},
    {"KilledAfterTheTruncation",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Hidden(kHidden, "a.txt", 0);
     },
     {{kHidden, Kind::EmptyHidden, Action::Remove}, {"a.txt1", Kind::OrphanResult, Action::Rename}},
     {"a.txt"}},
    // Where the file system keeps no record, a name and a length are no proof: the file may be
    // the user's own, so it is listed and left (the result still takes its name: that loses nothing).
    {"KilledDuringThePurgeWithoutARecord",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Write(kHidden, RandomLooking(kPlainSize));
     },
     {{kHidden, Kind::UnrecordedHidden, Action::Leave}, {"a.txt1", Kind::OrphanResult, Action::Rename}},
     {kHidden, "a.txt"}},
    {"UsersFilesOfAHiddenOriginalsNameBesideAResult",
     [](Scene& s) {
         s.Sealed("doc.txt1");
         s.Write(kHidden, PlainBytes(kPlainSize));
         s.Write("abcdef012345", "");
     },
     {{kHidden, Kind::UnrecordedHidden, Action::Leave},
      {"abcdef012345", Kind::UnrecordedHidden, Action::Leave},
      {"doc.txt1", Kind::OrphanResult, Action::Rename}},
     {kHidden, "abcdef012345", "doc.txt"}},
    // A recover cut short in its purge: the result has its name already, the record still says
    // which file the hidden original was.
    {"RecoverKilledDuringItsPurge",
     [](Scene& s) {
         s.Sealed("a.txt");
         s.Hidden("5eed0123abcd", "a.txt");
     },
     {{"5eed0123abcd", Kind::HalfPurged, Action::Purge}},
     {"a.txt"}},
    {"RecoverKilledAfterItsPurgeTruncated",
     [](Scene& s) {
         s.Sealed("a.txt");
         s.Hidden("5eed0123abcd", "a.txt", 0);
     },
     {{"5eed0123abcd", Kind::EmptyHidden, Action::Remove}},
     {"a.txt"}},
    {"RecoverKilledDuringTheDecryptionsPurge",
     [](Scene& s) {
         s.Plain("b.txt");
         s.Hidden("5eed0123abcd", "b.txt", cipher::format::EncryptedSize(kPlainSize));
     },
     {{"5eed0123abcd", Kind::HalfPurged, Action::Purge}},
     {"b.txt"}},
    {"RecordedOriginalBesideAResultInPlaceOfAnotherLength",
     [](Scene& s) {
         s.Sealed("a.txt");
         s.Hidden("5eed0123abcd", "a.txt", kPlainSize + 1);
     },
     {{"5eed0123abcd", Kind::UnknownHidden, Action::Leave}},
     {"5eed0123abcd", "a.txt"}},
    {"KilledBeforeTheRename",
     [](Scene& s) { s.Sealed("a.txt1"); },
     {{"a.txt1", Kind::OrphanResult, Action::Rename}},
     {"a.txt"}},
    {"KilledDuringTheDecryptionsPurge",
     [](Scene& s) {
         s.Plain("b.txt1", fs::perms(0600));
         s.Write(kHidden, std::string(cipher::format::EncryptedSize(kPlainSize), '\0'));
         s.Record(kHidden, "b.txt");
     },
     {{kHidden, Kind::HalfPurged, Action::Purge}, {"b.txt1", Kind::DecryptedResult, Action::Rename}},
     {"b.txt"}},
    {"KilledDuringTheDecryptionsPurgeWithoutARecord",
     [](Scene& s) {
         s.Plain("b.txt1", fs::perms(0600));
         s.Write(kHidden, std::string(cipher::format::EncryptedSize(kPlainSize), '\0'));
     },
     {{kHidden, Kind::UnrecordedHidden, Action::Leave}, {"b.txt1", Kind::UnprovenResult, Action::Leave}},
     {kHidden, "b.txt1"}},
    {"TwoResultsForOneName",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Sealed("a.txt2");
     },
     {{"a.txt1", Kind::AmbiguousResult, Action::Leave}, {"a.txt2", Kind::AmbiguousResult, Action::Leave}},
     {"a.txt1", "a.txt2"}},
    {"TwoResultsOfTheLengthAndARecord",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Sealed("b.txt1");
         s.Hidden(kHidden, "b.txt");
     },
     {{kHidden, Kind::HalfPurged, Action::Purge},
      {"a.txt1", Kind::OrphanResult, Action::Rename},
      {"b.txt1", Kind::OrphanResult, Action::Rename}},
     {"a.txt", "b.txt"}},
    {"TwoResultsOfTheLengthAndNoRecord",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Sealed("b.txt1");
         s.Write(kHidden, RandomLooking(kPlainSize));
     },
     {{kHidden, Kind::AmbiguousHidden, Action::Leave},
      {"a.txt1", Kind::OrphanResult, Action::Rename},
      {"b.txt1", Kind::OrphanResult, Action::Rename}},
     {kHidden, "a.txt", "b.txt"}},
    {"RecordNamesAFileWhoseResultIsNotHere",
     [](Scene& s) {
         s.Sealed("b.txt1");
         s.Hidden(kHidden, "a.txt");
     },
     {{kHidden, Kind::UnknownHidden, Action::Leave}, {"b.txt1", Kind::OrphanResult, Action::Rename}},
     {kHidden, "b.txt"}},
    {"HiddenNameWithoutItsResult",
     [](Scene& s) { s.Write(kHidden, PlainBytes(500)); },
     {{kHidden, Kind::UnknownHidden, Action::Leave}},
     {kHidden}},
    {"HiddenNameOfAnotherLength",
     [](Scene& s) {
         s.Sealed("a.txt1");
         s.Write(kHidden, PlainBytes(kPlainSize + 1));
     },
     {{kHidden, Kind::UnknownHidden, Action::Leave}, {"a.txt1", Kind::OrphanResult, Action::Rename}},
     {kHidden, "a.txt"}},
    {"OwnersNumberedFileAlone",
     [](Scene& s) { s.Plain("chapter1", fs::perms(0600)); },
     {{"chapter1", Kind::UnprovenResult, Action::Leave}},
     {"chapter1"}},
    {"WorkingFileOfAVanishedOriginal",
     [](Scene& s) { s.Write("a.txt1.kyvpart-00aa11bb22cc", PlainBytes(900), fs::perms(0600)); },
     {{"a.txt1.kyvpart-00aa11bb22cc", Kind::WorkingFile, Action::Leave}},
     {"a.txt1.kyvpart-00aa11bb22cc"}},
    {"LongNameKilledDuringThePurge",
     [](Scene& s) {
         const platform::FilePath reserved =
             ReserveTemporaryOutput(s.Path(kLongName), platform::FloppyFolders{});
         ASSERT_EQ(reserved.System(), s.Path(kLongTemporary));
         s.Sealed(kLongTemporary);
         s.Write(kHidden, RandomLooking(kPlainSize));
     },
     {{kHidden, Kind::UnknownHidden, Action::Leave}, {kLongTemporary, Kind::CutNameResult, Action::Leave}},
     {kHidden, kLongTemporary}},
    {"LongNameKilledWhileEncrypting",
     [](Scene& s) {
         s.Plain(kLongName);
         ASSERT_FALSE(ReserveTemporaryOutput(s.Path(kLongName), platform::FloppyFolders{}).IsEmpty());
         s.Write(".kyvpart-00aa11bb22cc", PlainBytes(900), fs::perms(0600));
     },
     {{".kyvpart-00aa11bb22cc", Kind::WorkingFile, Action::Remove},
      {kLongTemporary, Kind::Reservation, Action::Remove}},
     {kLongName}},
    {"OrdinaryFilesOnly",
     [](Scene& s) {
         s.Plain("notes.txt");
         s.Plain("track2");     // shared with others: not the program's
         s.Sealed("done.txt");  // a finished encryption
         s.Plain("report1.doc", fs::perms(0600));
     },
     {},
     {"done.txt", "notes.txt", "report1.doc", "track2"}},
};

class Recovery : public ::testing::TestWithParam<RecoveryCase> {};

TEST_P(Recovery, ListsEachLeftoverAndApplyFinishesOnlyWhatIsSafe)
{
    const RecoveryCase& c = GetParam();
    Scene scene;
    c.make(scene);
    if (IsSkipped() || HasFatalFailure()) return;
    const std::vector<std::string> before = scene.Names();

    const RecoveryResult listed = RecoverLeftovers(scene.Root(), RecoveryOptions{});
    std::vector<Found> found;
    for (const FolderRecovery& folder : listed.folders)
        for (const RepairedLeftover& item : folder.leftovers) {
            found.push_back(
                {item.leftover.path.filename().string(), item.leftover.kind, item.leftover.action});
            EXPECT_EQ(item.outcome, RepairOutcome::Listed);
        }
    ASSERT_EQ(found.size(), c.found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].name, c.found[i].name);
        EXPECT_EQ(found[i].kind, c.found[i].kind) << found[i].name;
        EXPECT_EQ(found[i].action, c.found[i].action) << found[i].name;
    }
    EXPECT_EQ(scene.Names(), before) << "listing changed the folder";
    EXPECT_EQ(listed.NeedsAttention(), !c.found.empty());

    const RecoveryResult applied = RecoverLeftovers(scene.Root(), RecoveryOptions{false, true, nullptr});
    EXPECT_EQ(scene.Names(), c.afterApply);
    const bool allDone =
        std::all_of(c.found.begin(), c.found.end(), [](const Found& f) { return f.action != Action::Leave; });
    EXPECT_EQ(applied.NeedsAttention(), !allDone)
        << RecoveryReportLines(applied, true).join(QLatin1Char(10)).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Leftovers, Recovery, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(RecoveryWithKey, RenamesOnlyAResultThatAuthenticates)
{
    for (const char fill : {'K', 'W'}) {
        Scene scene;
        scene.Sealed("a.txt1");
        scene.Hidden(kHidden, "a.txt");
        if (::testing::Test::IsSkipped()) return;
        const cipher::Key key = EngineKeyOf(Key(fill));
        FileAuthenticator authenticator(scene.Engine(), key);
        const RecoveryResult result =
            RecoverLeftovers(scene.Root(), RecoveryOptions{false, true, &authenticator});
        if (fill == 'K') {
            EXPECT_EQ(scene.Names(), std::vector<std::string>{"a.txt"});
            EXPECT_FALSE(result.NeedsAttention());
        } else {
            // The wrong key: the result may be damaged, so the half-purged original stays too.
            EXPECT_EQ(scene.Names(), (std::vector<std::string>{kHidden, "a.txt1"}));
            ASSERT_EQ(result.LeftoverCount(), 2);
            EXPECT_EQ(result.folders[0].leftovers[1].leftover.kind, Kind::UnauthenticResult);
        }
    }
}

// A result that has its name already (a recover was cut short) lets its hidden original go only
// when it opens with the key.
TEST(RecoveryWithKey, PurgesBesideAResultInPlaceOnlyWhenItAuthenticates)
{
    for (const char fill : {'K', 'W'}) {
        Scene scene;
        scene.Sealed("a.txt");
        scene.Hidden(kHidden, "a.txt");
        if (::testing::Test::IsSkipped()) return;
        const cipher::Key key = EngineKeyOf(Key(fill));
        FileAuthenticator authenticator(scene.Engine(), key);
        const RecoveryResult result =
            RecoverLeftovers(scene.Root(), RecoveryOptions{false, true, &authenticator});
        ASSERT_EQ(result.LeftoverCount(), 1);
        EXPECT_EQ(result.folders[0].leftovers[0].leftover.kind,
                  fill == 'K' ? Kind::HalfPurged : Kind::UnknownHidden);
        const std::vector<std::string> left =
            fill == 'K' ? std::vector<std::string>{"a.txt"} : std::vector<std::string>{kHidden, "a.txt"};
        EXPECT_EQ(scene.Names(), left);
    }
}

// Only a complete purge counts as done; one that did not finish is named as such, never "Purged."
TEST(RecoveryOutcome, APurgeThatDidNotFinishIsNotDone)
{
    RepairedLeftover item;
    item.leftover.kind = Kind::HalfPurged;
    item.leftover.action = Action::Purge;
    item.leftAt = "/x/5eed0123abcd";
    item.outcome = RepairOutcome::Done;
    const QString done = RepairOutcomeText(item);
    for (const RepairOutcome outcome :
         {RepairOutcome::Done, RepairOutcome::PurgeNotOverwritten, RepairOutcome::PurgeNotRemoved}) {
        item.outcome = outcome;
        const bool complete = outcome == RepairOutcome::Done;
        EXPECT_EQ(RepairOutcomeText(item) == done, complete);
        EXPECT_EQ(RepairOutcomeText(item).contains(QStringLiteral("5eed0123abcd")),
                  outcome == RepairOutcome::PurgeNotRemoved);
        RecoveryResult result;
        result.folders.push_back(FolderRecovery{"/x", FolderRecovery::Status::Scanned, {}, {item}});
        EXPECT_EQ(result.NeedsAttention(), !complete);
    }
}

TEST(RecoveryLock, AFolderARunWorksInIsLeftAlone)
{
    Scene scene;
    scene.Sealed("a.txt1");
    platform::FolderLock runLock;
    if (runLock.TryLock(scene.Root()) != platform::FolderLock::Outcome::Locked)
        GTEST_SKIP() << "this file system has no advisory locks";
    // The lock is per open description: a second one, as another process would hold, is refused.
    const RecoveryResult result = RecoverLeftovers(scene.Root(), RecoveryOptions{false, true, nullptr});
    ASSERT_EQ(result.folders.size(), 1u);
    EXPECT_EQ(result.folders[0].status, FolderRecovery::Status::Busy);
    EXPECT_EQ(scene.Names(), std::vector<std::string>{"a.txt1"});
    EXPECT_TRUE(result.NeedsAttention());
}

TEST(RecoverySubfolders, WalksRealSubfoldersAndNotLinks)
{
    Scene scene;
    QTemporaryDir outside;
    const fs::path elsewhere = outside.path().toStdString();
    fs::create_directory(scene.Path("sub"));
    scene.Sealed("sub/a.txt1");
    fs::create_directory_symlink(elsewhere, scene.Path("link"));
    WriteWholeFile(elsewhere / "b.txt1", "");
    fs::copy_file(scene.Path("sub/a.txt1"), elsewhere / "c.txt1");

    const RecoveryResult result = RecoverLeftovers(scene.Root(), RecoveryOptions{true, true, nullptr});
    EXPECT_TRUE(fs::exists(scene.Path("sub/a.txt")));
    EXPECT_TRUE(fs::exists(elsewhere / "c.txt1")) << "a linked folder was entered";
    EXPECT_EQ(result.LeftoverCount(), 1);
}

TEST(RecoveryText, SaysWhatEachIsAndWhatWasDone)
{
    Scene scene;
    scene.Sealed("a.txt1");
    scene.Hidden(kHidden, "a.txt");
    if (IsSkipped()) return;
    const QStringList listed = RecoveryReportLines(RecoverLeftovers(scene.Root(), RecoveryOptions{}), false);
    const QString listing = listed.join(QLatin1Char('\n'));
    EXPECT_TRUE(listing.contains(QStringLiteral("The original of a.txt, caught in its purge")));
    EXPECT_TRUE(listing.contains(QStringLiteral("--apply renames it to a.txt.")));
    EXPECT_EQ(listed.last(), QStringLiteral("2 leftovers found; nothing was changed."));
    const QStringList applied =
        RecoveryReportLines(RecoverLeftovers(scene.Root(), RecoveryOptions{false, true, nullptr}), true);
    EXPECT_TRUE(applied.contains(QStringLiteral("    Renamed to a.txt.")));
    EXPECT_TRUE(applied.contains(QStringLiteral("    Purged.")));
    EXPECT_EQ(RecoveryReportLines(RecoverLeftovers(scene.Root(), RecoveryOptions{}), false),
              QStringList{QStringLiteral("No leftovers of interrupted runs found.")});
}

TEST(RecoveryText, NamesTheFilesAnUnrecordedOriginalCouldGoWith)
{
    Scene scene;
    scene.Sealed("a.txt1");
    scene.Sealed("b.txt1");
    scene.Write(kHidden, RandomLooking(kPlainSize));
    const QString listing =
        RecoveryReportLines(RecoverLeftovers(scene.Root(), RecoveryOptions{}), false).join(QLatin1Char('\n'));
    EXPECT_TRUE(listing.contains(QStringLiteral("more than one file here (a.txt1, b.txt1)")))
        << listing.toStdString();
}

}  // namespace
}  // namespace kyv::test
