#include "core/files/PlannedSizes.h"

#include "platform/FileIdentity.h"

namespace kyv {

std::vector<qint64> PlannedFileSizes(const FolderPlan& plan)
{
    std::vector<qint64> sizes;
    sizes.reserve(static_cast<std::size_t>(plan.inputNames.size()));
    const platform::OpenFolder folder(plan.inputFolder);
    for (const QString& name : plan.inputNames) {
        const platform::FileIdentity file = folder.Identify(platform::FilePath(name));
        if (file.Seen() && file.regular) sizes.push_back(static_cast<qint64>(file.size));
    }
    return sizes;
}

qint64 PlannedInputBytes(const WalkPlans& plans)
{
    qint64 bytes = 0;
    for (const FolderPlan& plan : plans.plans)
        for (const qint64 size : PlannedFileSizes(plan)) bytes += size;
    return bytes;
}

}  // namespace kyv
