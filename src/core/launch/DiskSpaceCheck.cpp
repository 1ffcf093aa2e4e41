#include "core/launch/DiskSpaceCheck.h"

#include <limits>

#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/launch/FreeSpaceSource.h"
#include "core/operation/OperationWalk.h"
#include "platform/Drives.h"

namespace kyv {

namespace {

constexpr std::int64_t kLargestKilobyteFigure = 1023;

QString KilobyteFigure(std::int64_t kilobytes) { return NumberToText(kilobytes) + QStringLiteral(" KB"); }

}  // namespace

bool DiskSpaceCheckNeeded(const OperationSetup& setup, const platform::FloppyFolders& floppies)
{
    return !setup.inPlace || platform::IsFloppyDrivePath(setup.InputFolder(), floppies);
}

CheckedDrive DriveToCheck(const OperationSetup& setup)
{
    if (setup.inPlace) {
        // Only reached for a floppy: its temporary files go to the first fixed drive.
        const QString drive = platform::FirstFixedDrive();
        return {drive, drive};
    }
    return {platform::DriveOf(setup.OutputFolder()), setup.OutputFolder().Text()};
}

std::int64_t RoundedKilobytes(std::uint64_t bytes)
{
    std::uint64_t kilobytes = bytes / 1024;
    const std::uint64_t rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
    return static_cast<std::int64_t>(kilobytes);
}

bool SpaceSuffices(std::int64_t requiredBytes, std::int64_t freeKilobytes)
{
    // Exact in integers: required / 1024 <= free.
    if (freeKilobytes > std::numeric_limits<std::int64_t>::max() / 1024) return true;
    return requiredBytes <= freeKilobytes * 1024;
}

// The figures bring their own leading space (the number-to-text form), after "is" and "only" alike.
QString InsufficientSpaceMessage(const QString& drive, std::int64_t requiredBytes, std::int64_t freeKilobytes)
{
    const std::int64_t requiredKilobytes = requiredBytes / 1024;
    const QString required = requiredKilobytes <= kLargestKilobyteFigure
                                 ? KilobyteFigure(requiredKilobytes)
                                 : NumberToText(requiredKilobytes / 1024) + QStringLiteral(" MB");
    // Unlike the required figure, the free space keeps every decimal of its megabytes.
    const QString available =
        freeKilobytes <= kLargestKilobyteFigure
            ? KilobyteFigure(freeKilobytes)
            : NumberToText(static_cast<double>(freeKilobytes) / 1024.0) + QStringLiteral(" MB");
    return QStringLiteral("Estimated space required on drive ") + drive + QStringLiteral(" is") + required +
           QStringLiteral(", but there is only") + available + QStringLiteral(" available.");
}

DiskSpaceOutcome CheckDiskSpace(const OperationSetup& setup, const RunRequest& request, Prompter& prompter,
                                FreeSpaceSource& freeSpace, const platform::FloppyFolders& floppies)
{
    const WalkPlans plans = PlanFolders(OperationWalkRequest(setup, request));
    if (!DiskSpaceCheckNeeded(setup, floppies))
        return {DiskSpaceVerdict::NotChecked, 0, EstimateSize(plans, setup.inPlace).inputBytes};
    for (const UnreadableFolder& folder : plans.unreadable)
        prompter.Tell(folder.errorText, QStringLiteral("Error"), MessageIcon::Exclamation);
    const SizeEstimate estimate = EstimateSize(plans, setup.inPlace);
    if (estimate.duplicateOutputNames) return {DiskSpaceVerdict::DuplicateOutputNames, 0};
    const qint64 requiredBytes = estimate.requiredBytes;
    if (requiredBytes == 0) {
        // Nothing counted because a folder could not be listed is not a folder of empty files.
        prompter.Tell(plans.unreadable.empty()
                          ? QStringLiteral("Total input filesize is 0 bytes.")
                          : QStringLiteral("The folder ") + plans.unreadable.front().folder.Display() +
                                QStringLiteral(" cannot be read, so there is nothing to process."),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        return {DiskSpaceVerdict::NothingToProcess, requiredBytes, estimate.inputBytes};
    }
    const CheckedDrive drive = DriveToCheck(setup);
    const std::optional<quint64> freeBytes = freeSpace.FreeBytes(drive.path);
    if (!freeBytes) {
        prompter.Tell(QStringLiteral("Error when attempting to access drive ") + drive.name,
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        return {DiskSpaceVerdict::DriveUnreadable, requiredBytes, estimate.inputBytes};
    }
    const std::int64_t freeKilobytes = RoundedKilobytes(*freeBytes);
    if (!SpaceSuffices(requiredBytes, freeKilobytes)) {
        prompter.Tell(InsufficientSpaceMessage(drive.name, requiredBytes, freeKilobytes),
                      QStringLiteral("Insufficient disk space"), MessageIcon::Exclamation);
        return {DiskSpaceVerdict::Insufficient, requiredBytes, estimate.inputBytes};
    }
    return {DiskSpaceVerdict::Enough, requiredBytes, estimate.inputBytes};
}

}  // namespace kyv
