#include "core/operation/InPlaceReplacement.h"

#include <system_error>
#include <utility>

#include "core/files/FolderPath.h"
#include "platform/Drives.h"
#include "platform/OpenedFile.h"

namespace kyv {

namespace fs = std::filesystem;

InPlaceReplacement::InPlaceReplacement(FilePath path, platform::OpenedFile& original,
                                       const platform::FloppyFolders& floppies)
    : path_(std::move(path)), original_(original), floppies_(floppies)
{
}

void InPlaceReplacement::End(FileResult::Outcome outcome)
{
    ended_ = true;
    outcome_ = outcome;
}

void InPlaceReplacement::RemoveTemporary()
{
    std::error_code error;
    fs::remove(temporaryPath_, error);
    temporaryPath_ = FilePath();
}

void InPlaceReplacement::ReserveTemporary()
{
    if (ended_) return;
    temporaryPath_ = ReserveTemporaryOutput(path_, floppies_);
    if (temporaryPath_.IsEmpty()) End(FileDecision::NoTemporaryName);
}

void InPlaceReplacement::ResultWritten(const FileResult::Outcome& engineOutcome)
{
    if (ended_) return;
    changedWhileRead_ = !original_.Unchanged();
    if (!std::holds_alternative<cipher::CipherResult>(engineOutcome)) return;
    // The reservation alone is no result; a partial result is left for the user.
    std::error_code error;
    if (fs::file_size(temporaryPath_, error) == 0 && !error) RemoveTemporary();
    End(changedWhileRead_ && IsReadFailure(engineOutcome) ? FileDecision::ChangedWhileRead : engineOutcome);
}

void InPlaceReplacement::Flush()
{
    if (ended_) return;
    if (!FlushToDevice(temporaryPath_)) {
        RemoveTemporary();
        End(cipher::CipherResult::WriteError);
    } else if (changedWhileRead_) {
        End(FileDecision::ChangedWhileRead);
    }
}

void InPlaceReplacement::ReadBack(const std::function<bool(const fs::path&)>& intact)
{
    if (ended_ || intact(temporaryPath_)) return;
    RemoveTemporary();
    End(FileDecision::ResultNotIntact);
}

void InPlaceReplacement::PurgeOriginal(int level)
{
    if (ended_) return;
    // Opened for writing while the result was checked, or earlier within the tick that hid it.
    if (!original_.ReleaseLease()) {
        End(FileDecision::ChangedWhileRead);
        return;
    }
    purge_ = kyv::PurgeOriginal(path_, level, original_.AtOpen());
    if (purge_.outcome == PurgeOutcome::Changed) End(FileDecision::ChangedWhileRead);
}

void InPlaceReplacement::Rename()
{
    if (ended_) return;
    // A purge that left the original makes this fail: the result then stays under its temporary name.
    if (!MoveToFreeName(temporaryPath_, path_)) {
        End(platform::IsFloppyDrivePath(path_, floppies_) ? FileDecision::RenameFailedOnFloppy
                                                          : FileDecision::RenameFailed);
        return;
    }
    // Only once it has the name: until then the result keeps the owner-only mode by which recover
    // tells the program's temporary files from the user's.
    TakeOriginalsAccess(path_, original_.AtOpen());
    // The result is safe, but when the purge fell short the disk may still hold the original's
    // data, and the run says so.
    switch (purge_.outcome) {
        case PurgeOutcome::DeletedNotOverwritten:
            End(FileDecision::PurgeNotOverwritten);
            break;
        case PurgeOutcome::EmptiedNotDeleted:
            emptiedOriginalPath_ = purge_.leftAt;
            End(FileDecision::PurgeNotDeleted);
            break;
        default:
            End(FileDecision::Done);
    }
}

}  // namespace kyv
