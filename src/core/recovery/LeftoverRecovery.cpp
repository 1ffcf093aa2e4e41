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

QString PathText(const fs::path& path) { return FromFileSystemPath(path); }

bool StillAsSeen(const Leftover& leftover)
{
    return platform::Unchanged(leftover.seen, platform::IdentifyFile(leftover.path));
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
    for (const Leftover& leftover : leftovers) recovery.leftovers.push_back(RepairedLeftover{leftover, {}});
    if (options.apply) {
        // Purges last, and only where the result holding the data has its original's name.
        for (RepairedLeftover& item : recovery.leftovers)
            if (item.leftover.action != Leftover::Action::Purge) item.outcome = RepairLeftover(item.leftover);
        for (RepairedLeftover& item : recovery.leftovers) {
            if (item.leftover.action != Leftover::Action::Purge) continue;
            const auto settled = std::find_if(recovery.leftovers.begin(), recovery.leftovers.end(),
                                              [&item](const RepairedLeftover& other) {
                                                  return other.leftover.path == item.leftover.result &&
                                                         other.outcome == RepairOutcome::Done;
                                              });
            item.outcome =
                settled != recovery.leftovers.end() ? RepairLeftover(item.leftover) : RepairOutcome::Changed;
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

RepairOutcome RepairLeftover(const Leftover& leftover)
{
    if (leftover.action == Leftover::Action::Leave) return RepairOutcome::Left;
    if (!StillAsSeen(leftover)) return RepairOutcome::Changed;
    switch (leftover.action) {
        case Leftover::Action::Remove:
            return ::unlink(leftover.path.c_str()) == 0 ? RepairOutcome::Done : RepairOutcome::Failed;
        case Leftover::Action::Rename:
            return MoveToFreeName(PathText(leftover.path), PathText(leftover.related))
                       ? RepairOutcome::Done
                       : RepairOutcome::Failed;
        case Leftover::Action::Purge:
            // As the run would have purged it: only while it is the file that was looked at.
            switch (PurgeOriginal(PathText(leftover.path),
                                  leftover.purgeAfterDecryption ? filelib::kPurgeAfterDecryption
                                                                : filelib::kPurgeAfterEncryption,
                                  leftover.seen)) {
                case PurgeOutcome::Gone:
                    return RepairOutcome::Done;
                case PurgeOutcome::Changed:
                    return RepairOutcome::Changed;
                case PurgeOutcome::Left:
                    return RepairOutcome::Failed;
            }
            break;
        case Leftover::Action::Leave:
            break;
    }
    return RepairOutcome::Left;
}

}  // namespace kyv
