#pragma once
// `kyv recover`: the leftovers of interrupted runs in a folder (and its subfolders), listed, or
// with `apply` dealt with as the interrupted step would have: a reservation or working file
// removed, a complete result given its original's name, a half-purged original purged. Nothing
// that could be the only copy of some data is removed; such files are listed and left. Each folder
// is taken with the run lock, so that a run working there now is never mistaken for a leftover.

#include <QString>
#include <filesystem>
#include <vector>

#include "core/recovery/Leftover.h"

namespace kyv {

class FileAuthenticator;

enum class RepairOutcome {
    Listed,   // not asked to act
    Done,     // the action was taken
    Left,     // its action is to leave it
    Changed,  // changed since it was looked at, or its result was not settled: left
    Failed,   // the file system refused; left
    // A purge that did not finish: the file is gone but its overwrite or flush failed, so the disk
    // may keep its data; or it was emptied but could not be removed (RepairedLeftover::leftAt).
    PurgeNotOverwritten,
    PurgeNotRemoved,
};

struct RepairedLeftover {
    Leftover leftover;
    RepairOutcome outcome = RepairOutcome::Listed;
    std::filesystem::path leftAt;  // where an emptied file that could not be removed is left
};

struct FolderRecovery {
    enum class Status { Scanned, Busy, Unreadable };
    std::filesystem::path folder;
    Status status = Status::Scanned;
    QString error;  // the system's words, when unreadable
    std::vector<RepairedLeftover> leftovers;
};

struct RecoveryOptions {
    bool subfolders = false;
    bool apply = false;
    FileAuthenticator* authenticator = nullptr;  // may be null: structure only
};

struct RecoveryResult {
    std::vector<FolderRecovery> folders;  // only those with something to say
    // Something is left that the user must look at (or a folder could not be looked at).
    [[nodiscard]] bool NeedsAttention() const;
    [[nodiscard]] int LeftoverCount() const;
};

[[nodiscard]] RecoveryResult RecoverLeftovers(const std::filesystem::path& folder,
                                              const RecoveryOptions& options);

// Takes one leftover's action, when the file is still as it was seen, and records the outcome.
void RepairLeftover(RepairedLeftover& item);

}  // namespace kyv
