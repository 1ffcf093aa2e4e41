#include "core/recovery/LeftoverRecovery.h"

#include <unistd.h>

#include <algorithm>

#include "core/files/FolderPath.h"
#include "core/operation/InPlaceFiles.h"
#include "core/recovery/LeftoverScanner.h"
#include "engine/filelib/Purge.h"
#include "platform/FolderLock.h"

namespace kyv {

namespace fs = std::filesystem;

namespace {

bool StillAsSeen(const Leftover& leftover)
{
    return platform::Unchanged(leftover.seen, platform::IdentifyFile(leftover.path));
}

// The result that holds a hidden original's data has its original's name now, as it was seen.
bool ResultSettled(const Leftover& hidden, const std::vector<RepairedLeftover>& leftovers)
{
    if (hidden.resultInPlace)
        return platform::Unchanged(hidden.resultSeen, platform::IdentifyFile(hidden.result));
    return std::any_of(leftovers.begin(), leftovers.end(), [&hidden](const RepairedLeftover& other) {
        return other.leftover.path == hidden.result && other.outcome == RepairOutcome::Done;
    });
}

// As the run purges an original (the write permission granted first, for a read-only file), only
// while the file is the one that was looked at.
filelib::PurgeReport PurgeAsSeen(const Leftover& leftover)
{
    platform::FileIdentity now = platform::IdentifyFile(leftover.path);
    std::error_code error;
    const fs::perms permissions = fs::symlink_status(leftover.path, error).permissions();
    if (!error && (permissions & fs::perms::owner_write) == fs::perms::none) {
        fs::permissions(leftover.path, fs::perms::owner_write,
                        fs::perm_options::add | fs::perm_options::nofollow, error);
        now = platform::IdentifyFile(leftover.path);
        if (!platform::DataUnchanged(leftover.seen, now)) return {filelib::PurgeResult::Changed, {}};
    }
    const filelib::FileStamp stamp{now.device, now.fileNumber, now.size, now.modifiedNs, now.changedNs};
    return filelib::PurgeFileIfUnchangedReporting(
        leftover.path,
        leftover.purgeAfterDecryption ? filelib::kPurgeAfterDecryption : filelib::kPurgeAfterEncryption,
        stamp);
}

RepairOutcome PurgeOutcomeOf(const filelib::PurgeReport& report)
{
    if (filelib::PurgeIsComplete(report.result)) return RepairOutcome::Done;
    switch (report.result) {
        case filelib::PurgeResult::RemovedOverwriteIncomplete:
            return RepairOutcome::PurgeNotOverwritten;
        case filelib::PurgeResult::EmptiedNotRemoved:
            return RepairOutcome::PurgeNotRemoved;
        case filelib::PurgeResult::Changed:
            return RepairOutcome::Changed;
        default:
            return RepairOutcome::Failed;
    }
}

void RecoverFolder(const fs::path& folder, const RecoveryOptions& options, RecoveryResult& result)
{
    FolderRecovery recovery;
    recovery.folder = folder;
    // Held until the folder is done: no run starts in it while its files are renamed or removed.
    platform::FolderLock lock;
    if (lock.TryLock(folder) == platform::FolderLock::Outcome::HeldByOther) {
        recovery.status = FolderRecovery::Status::Busy;
        result.folders.push_back(std::move(recovery));
        return;
    }
    std::error_code error;
    const std::vector<Leftover> leftovers = ScanForLeftovers(folder, options.authenticator, error);
    if (error) {
        recovery.status = FolderRecovery::Status::Unreadable;
        recovery.error = QString::fromStdString(error.message());
        result.folders.push_back(std::move(recovery));
        return;
    }
    for (const Leftover& leftover : leftovers)
        recovery.leftovers.push_back(RepairedLeftover{leftover, {}, {}});
    if (options.apply) {
        // Purges last, and only where the result holding the data has its original's name. Each
        // step leaves what a later recover finishes: a result renamed beside its hidden original,
        // or a purge cut short, is found again with the purge's record.
        for (RepairedLeftover& item : recovery.leftovers)
            if (item.leftover.action != Leftover::Action::Purge) RepairLeftover(item);
        for (RepairedLeftover& item : recovery.leftovers) {
            if (item.leftover.action != Leftover::Action::Purge) continue;
            if (ResultSettled(item.leftover, recovery.leftovers))
                RepairLeftover(item);
            else
                item.outcome = RepairOutcome::Changed;
        }
    }
    if (!recovery.leftovers.empty()) result.folders.push_back(std::move(recovery));
}

void Walk(const fs::path& folder, const RecoveryOptions& options, RecoveryResult& result)
{
    RecoverFolder(folder, options, result);
    if (!options.subfolders) return;
    std::error_code error;
    std::vector<fs::path> subfolders;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        // A link to a folder is not followed: it may lead out of the tree, or back into it.
        std::error_code statusError;
        if (it->is_directory(statusError) && !it->is_symlink(statusError)) subfolders.push_back(it->path());
    }
    std::sort(subfolders.begin(), subfolders.end());
    for (const fs::path& subfolder : subfolders) Walk(subfolder, options, result);
}

}  // namespace

bool RecoveryResult::NeedsAttention() const
{
    return std::any_of(folders.begin(), folders.end(), [](const FolderRecovery& folder) {
        return folder.status != FolderRecovery::Status::Scanned ||
               std::any_of(folder.leftovers.begin(), folder.leftovers.end(),
                           [](const RepairedLeftover& item) { return item.outcome != RepairOutcome::Done; });
    });
}

int RecoveryResult::LeftoverCount() const
{
    int count = 0;
    for (const FolderRecovery& folder : folders) count += static_cast<int>(folder.leftovers.size());
    return count;
}

RecoveryResult RecoverLeftovers(const fs::path& folder, const RecoveryOptions& options)
{
    RecoveryResult result;
    Walk(folder, options, result);
    return result;
}

void RepairLeftover(RepairedLeftover& item)
{
    const Leftover& leftover = item.leftover;
    if (leftover.action == Leftover::Action::Leave) {
        item.outcome = RepairOutcome::Left;
        return;
    }
    if (!StillAsSeen(leftover)) {
        item.outcome = RepairOutcome::Changed;
        return;
    }
    switch (leftover.action) {
        case Leftover::Action::Remove:
            item.outcome = ::unlink(leftover.path.c_str()) == 0 ? RepairOutcome::Done : RepairOutcome::Failed;
            return;
        case Leftover::Action::Rename:
            item.outcome =
                MoveToFreeName(leftover.path, leftover.related) ? RepairOutcome::Done : RepairOutcome::Failed;
            return;
        case Leftover::Action::Purge: {
            const filelib::PurgeReport report = PurgeAsSeen(leftover);
            item.outcome = PurgeOutcomeOf(report);
            item.leftAt = report.leftAt;
            return;
        }
        case Leftover::Action::Leave:
            break;
    }
    item.outcome = RepairOutcome::Left;
}

}  // namespace kyv
