#pragma once
// Before a run, the space the output will need is estimated from the operation's folder plans and
// compared with the room on the drive that receives it: the sum of the input sizes for separate
// output files, the largest input file for in-place work (one temporary file at a time).

#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace kyv::platform {
class FloppyFolders;
}

namespace kyv {

class FreeSpaceSource;
class Prompter;
struct OperationSetup;
struct RunRequest;

enum class DiskSpaceVerdict {
    NotChecked,  // in-place work off a floppy: the temporary file lies beside each input
    Enough,
    DuplicateOutputNames,  // told by the caller, who hides the report first
    NothingToProcess,      // the input files add up to 0 bytes, or none could be listed
    DriveUnreadable,
    Insufficient,
};

// Whether the run goes ahead after the check.
[[nodiscard]] constexpr bool MayProceed(DiskSpaceVerdict verdict)
{
    return verdict == DiskSpaceVerdict::NotChecked || verdict == DiskSpaceVerdict::Enough;
}

// In-place work needs no check unless the input lies on a floppy (its temporary files then go to
// the first fixed drive).
[[nodiscard]] bool DiskSpaceCheckNeeded(const OperationSetup& setup, const platform::FloppyFolders& floppies);

// The drive whose room is checked, as named in the messages, and the path asked for its space.
struct CheckedDrive {
    QString name;
    QString path;
};
[[nodiscard]] CheckedDrive DriveToCheck(const OperationSetup& setup);

// Whole kilobytes in `bytes`, rounded to the nearest (a half to the even neighbour).
[[nodiscard]] std::int64_t RoundedKilobytes(std::uint64_t bytes);

// Whether `requiredBytes` fit into `freeKilobytes`; equal sizes fit, a fraction of a kilobyte
// more does not.
[[nodiscard]] bool SpaceSuffices(std::int64_t requiredBytes, std::int64_t freeKilobytes);

// "Estimated space required on drive D: is 12 MB, but there is only 9.3603515625 MB available."
[[nodiscard]] QString InsufficientSpaceMessage(const QString& drive, std::int64_t requiredBytes,
                                               std::int64_t freeKilobytes);

struct DiskSpaceOutcome {
    DiskSpaceVerdict verdict = DiskSpaceVerdict::NotChecked;
    // The estimate, when one was made.
    qint64 requiredBytes = 0;
    // The sum of the input sizes, counted whether or not the room was checked.
    qint64 inputBytes = 0;
};

// Plans the request's folders, estimates the space and checks the room, telling the user when the
// run cannot go ahead (a folder that cannot be listed is told too, and the run tells it again).
// Where no check is needed the input sizes are still added up, silently, for the run's progress.
[[nodiscard]] DiskSpaceOutcome CheckDiskSpace(const OperationSetup& setup, const RunRequest& request,
                                              Prompter& prompter, FreeSpaceSource& freeSpace,
                                              const platform::FloppyFolders& floppies);

}  // namespace kyv
