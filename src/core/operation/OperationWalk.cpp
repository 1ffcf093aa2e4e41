#include "core/operation/OperationWalk.h"

#include <algorithm>

#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/operation/RunState.h"
#include "platform/FileIdentity.h"

namespace kyv {

namespace {

// The sizes of a folder's planned files that are still regular files.
template <typename Add>
void ForEachPlannedSize(const FolderPlan& plan, Add add)
{
    const platform::OpenFolder folder(ToFileSystemPath(plan.inputFolder));
    for (const QString& name : plan.inputNames) {
        const platform::FileIdentity file = folder.Identify(ToFileSystemPath(name).c_str());
        if (file.Seen() && file.regular) add(static_cast<qint64>(file.size));
    }
}

}  // namespace

WalkRequest OperationWalkRequest(const OperationSetup& setup, const RunRequest& request)
{
    WalkRequest walk;
    walk.inputFolder = request.inputFolder;
    walk.inputSpec = request.inputSpec;
    walk.outputFolder = request.outputFolder;
    walk.outputSpec = request.outputSpec;
    walk.inPlace = setup.inPlace;
    walk.includeSubfolders = setup.includeSubfolders;
    return walk;
}

QString DuplicateOutputNamesText(const QString& outputSpec)
{
    return QStringLiteral("Output file specification \"") + DisplayName(outputSpec) +
           QStringLiteral("\" produces duplicate output filenames!");
}

SizeEstimate EstimateSize(const WalkPlans& plans, bool inPlace)
{
    SizeEstimate estimate;
    for (const FolderPlan& plan : plans.plans) {
        if (plan.outputNamesCollide) {
            estimate.duplicateOutputNames = true;
            return estimate;
        }
        ForEachPlannedSize(plan, [&estimate, inPlace](qint64 bytes) {
            estimate.requiredBytes = inPlace ? std::max(estimate.requiredBytes, bytes)
                                             : estimate.requiredBytes + bytes;
        });
    }
    return estimate;
}

}  // namespace kyv
