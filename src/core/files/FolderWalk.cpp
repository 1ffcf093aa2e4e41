#include "core/files/FolderWalk.h"

#include <QHash>
#include <optional>

#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/files/FolderWalkGuard.h"
#include "core/files/NameText.h"
#include "core/files/OutputName.h"
#include "platform/FileIdentity.h"

namespace kyv {

namespace {

// Two files would get the same output name; or, with the output beside the input, a file's output
// would replace another input file of the folder before (or after) that one is worked on.
bool OutputNamesCollide(const QStringList& inputNames, const QStringList& outputNames, bool sameFolder)
{
    QHash<QString, qsizetype> outputIndex;
    outputIndex.reserve(outputNames.size());
    for (qsizetype i = 0; i < outputNames.size(); ++i) {
        const QString lower = LowerCaseText(outputNames.at(i));
        if (outputIndex.contains(lower)) return true;
        outputIndex.insert(lower, i);
    }
    if (!sameFolder) return false;
    for (qsizetype i = 0; i < inputNames.size(); ++i) {
        const auto found = outputIndex.constFind(LowerCaseText(inputNames.at(i)));
        if (found != outputIndex.constEnd() && found.value() != i) return true;
    }
    return false;
}

bool SameFolder(const FilePath& input, const FilePath& output)
{
    return input == output ||
           platform::SameFile(platform::IdentifyFile(input), platform::IdentifyFile(output));
}

void NameOutputs(const WalkRequest& request, FolderPlan& plan)
{
    if (request.inPlace) {
        plan.outputNames = plan.inputNames;
        return;
    }
    plan.outputNames.reserve(plan.inputNames.size());
    for (const QString& name : std::as_const(plan.inputNames)) {
        OutputNameStatus ignored = kOutputNameMade;
        plan.outputNames.append(MapOutputName(name, request.outputSpec, ignored));
    }
    plan.outputNamesCollide = plan.inputNames.size() >= 2 &&
                              OutputNamesCollide(plan.inputNames, plan.outputNames, plan.sameFolder);
}

class Walk {
public:
    Walk(const WalkRequest& request, FolderWalkVisitor& visitor) : request_(request), visitor_(visitor) {}

    // False when the visitor ended the walk.
    bool Folder(const FilePath& inputPath, const FilePath& outputPath)
    {
        const FilePath input = FolderForm(inputPath);
        const FilePath output = FolderForm(outputPath);
        if (!guard_.FirstVisit(input)) return true;
        const bool same = SameFolder(input, output);
        if (!visitor_.Enter(input, output, same)) return true;
        const struct Leaving {
            FolderWalkVisitor& visitor;
            ~Leaving() { visitor.Leave(); }
        } leaving{visitor_};
        QString errorText;
        std::optional<FolderListing> listing = ListFolder(input, request_.inputSpec, errorText);
        const WalkOn next = listing ? visitor_.Visit(Plan(input, output, same, *listing))
                                    : visitor_.Unreadable(input, errorText);
        if (next == WalkOn::End) return false;
        if (next == WalkOn::SkipSubfolders || !request_.includeSubfolders) return true;
        for (const QString& subfolder : std::as_const(listing->subfolders)) {
            const FilePath path = input / subfolder;
            if (!Folder(path, path) || !visitor_.GoOn()) return false;
        }
        return true;
    }

private:
    [[nodiscard]] FilePath FolderForm(const FilePath& path) const
    {
        // The case of a drive letter's path is a matter of its text.
        if (request_.normalizePathCase) return FilePath(AddBackslash(NormalizePathCase(path.Text())));
        return path.AsFolder();
    }

    [[nodiscard]] FolderPlan Plan(const FilePath& input, const FilePath& output, bool same,
                                  FolderListing& listing) const
    {
        FolderPlan plan;
        plan.inputFolder = input;
        plan.outputFolder = output;
        plan.sameFolder = same;
        plan.inputNames = std::move(listing.matchingFiles);
        plan.files = std::move(listing.files);
        plan.subfolders = listing.subfolders;
        plan.linkedFolders = std::move(listing.linkedFolders);
        plan.leftOut = std::move(listing.leftOut);
        NameOutputs(request_, plan);
        return plan;
    }

    const WalkRequest& request_;
    FolderWalkVisitor& visitor_;
    FolderWalkGuard guard_;
};

class PlanCollector final : public FolderWalkVisitor {
public:
    explicit PlanCollector(WalkPlans& plans) : plans_(plans) {}
    WalkOn Unreadable(const FilePath& folder, const QString& errorText) override
    {
        plans_.unreadable.push_back({folder, errorText});
        return WalkOn::SkipSubfolders;
    }
    WalkOn Visit(const FolderPlan& plan) override
    {
        plans_.plans.push_back(plan);
        return plan.outputNamesCollide ? WalkOn::SkipSubfolders : WalkOn::Subfolders;
    }

private:
    WalkPlans& plans_;
};

}  // namespace

bool WalkFolders(const WalkRequest& request, FolderWalkVisitor& visitor)
{
    return Walk(request, visitor).Folder(request.inputFolder, request.outputFolder);
}

WalkPlans PlanFolders(const WalkRequest& request)
{
    WalkPlans plans;
    PlanCollector collector(plans);
    (void)WalkFolders(request, collector);
    return plans;
}

}  // namespace kyv
