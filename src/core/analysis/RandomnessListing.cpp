#include "core/analysis/RandomnessListing.h"
#include "core/common/RandomnessThresholds.h"

#include <cmath>
#include <system_error>

#include "core/common/BatchProgressMeter.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderPath.h"
#include "core/files/FolderWalk.h"
#include "core/files/NameText.h"
#include "core/files/PlannedSizes.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

namespace {

WalkRequest ListingWalk(const platform::FilePath& folder, const QString& fileSpec, bool includeSubfolders)
{
    WalkRequest walk;
    walk.inputFolder = folder;
    walk.inputSpec = fileSpec;
    walk.outputFolder = folder;
    walk.inPlace = true;
    walk.includeSubfolders = includeSubfolders;
    walk.normalizePathCase = true;
    return walk;
}

class Listing final : public FolderWalkVisitor {
public:
    explicit Listing(const RandomnessListingContext& context) : context_(context) {}

    WalkOn Unreadable(const FilePath& /*folder*/, const QString& errorText) override
    {
        Fail(errorText);
        return WalkOn::End;
    }
    WalkOn Visit(const FolderPlan& plan) override;
    bool GoOn() override { return !StopAfterPausePoint(); }

private:
    bool ListFile(const FilePath& folder, const QString& name);
    double Measure(const std::filesystem::path& file);
    bool Write(const QStringList& lines);
    bool StopAfterPausePoint();
    void Fail(const QString& description);

    const RandomnessListingContext& context_;
};

WalkOn Listing::Visit(const FolderPlan& plan)
{
    context_.values.fileListCount = static_cast<int>(plan.inputNames.size());
    if (plan.inputNames.isEmpty()) return WalkOn::Subfolders;
    if (!Write({plan.inputFolder.Display(), QString()})) return WalkOn::End;
    // Matching names are a subsequence of the files, in the same order; every file is a pause point.
    qsizetype nextMatch = 0;
    for (const QString& name : plan.files) {
        if (nextMatch < plan.inputNames.size() && name == plan.inputNames[nextMatch]) {
            ++nextMatch;
            if (!ListFile(plan.inputFolder, name)) return WalkOn::End;
        }
        if (StopAfterPausePoint()) return WalkOn::End;
    }
    return Write({QString(), QString()}) ? WalkOn::Subfolders : WalkOn::End;
}

bool Listing::ListFile(const FilePath& folder, const QString& name)
{
    const FilePath file = folder / name;
    std::error_code error;
    const std::int64_t size = static_cast<std::int64_t>(std::filesystem::file_size(file, error));
    if (error) {
        Fail(QString::fromStdString(error.message()));
        return false;
    }

    QString line;
    double randomness = -0.5;
    if (size < kMinFileSizeForRandomness) {
        line = QStringLiteral("     ");
    } else {
        randomness = Measure(file);
        if (!filelib::IsRandomnessError(randomness))
            line = GroupedNumber(randomness, 3);
        else
            line = u'[' + QString::number(std::lround(randomness)) + u']';
    }
    line += randomness > kMinEncryptedRandomness ? QStringLiteral(" * ") : QStringLiteral("   ");
    line += DisplayName(LowerCaseText(name)) + QStringLiteral(" (") + GroupedNumber(size) +
            QStringLiteral(" bytes)   ");
    if (!Write({line, QString()})) return false;
    if (context_.filesListed != nullptr) ++*context_.filesListed;
    if (context_.progress != nullptr) context_.progress->FileEnded(static_cast<std::uint64_t>(size));
    return true;
}

double Listing::Measure(const std::filesystem::path& file)
{
    const std::int64_t minimumSize = kMinFileSizeForRandomness;
    const RandomnessMeasure measure =
        context_.measure ? context_.measure : RandomnessMeasure(&filelib::FileRandomness);
    return measure(file, minimumSize);
}

bool Listing::Write(const QStringList& lines)
{
    if (context_.report.Deliver(ReportTextEvent{lines})) return true;
    Fail(QStringLiteral("The report cannot hold more text."));
    return false;
}

bool Listing::StopAfterPausePoint()
{
    context_.report.PausePoint();
    return context_.report.StopRequested();
}

void Listing::Fail(const QString& description)
{
    context_.prompter.Tell(description, QStringLiteral("Error"), MessageIcon::Exclamation);
    context_.report.ReportBufferFull();
    context_.report.RequestStop();
}

}  // namespace

void ListFolderRandomness(const platform::FilePath& folder, const QString& fileSpec,
                          const RandomnessListingContext& context)
{
    Listing listing(context);
    (void)WalkFolders(ListingWalk(folder, fileSpec, context.includeSubfolders), listing);
}

std::uint64_t RandomnessListingBytes(const platform::FilePath& folder, const QString& fileSpec,
                                     bool includeSubfolders)
{
    return static_cast<std::uint64_t>(
        PlannedInputBytes(PlanFolders(ListingWalk(folder, fileSpec, includeSubfolders))));
}

}  // namespace kyv
