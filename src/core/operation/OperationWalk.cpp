#include "core/operation/OperationWalk.h"

#include <algorithm>

#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/files/PlannedSizes.h"
#include "core/operation/RunState.h"
#include "platform/FileIdentity.h"

namespace kyv {

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
        for (const qint64 bytes : PlannedFileSizes(plan)) {
            estimate.requiredBytes = inPlace ? std::max(estimate.requiredBytes, bytes)
                                             : estimate.requiredBytes + bytes;
            estimate.inputBytes += bytes;
        }
    }
    return estimate;
}

}  // namespace kyv
