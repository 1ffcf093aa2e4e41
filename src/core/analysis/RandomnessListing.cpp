#include "core/analysis/RandomnessListing.h"
#include "core/common/RandomnessThresholds.h"

#include <cmath>
#include <system_error>

#include "core/common/LineBreak.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/files/FolderWalkGuard.h"
#include "core/files/NameText.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

namespace {

class Walk {
public:
    Walk(const QString& fileSpec, const RandomnessListingContext& context)
        : fileSpec_(fileSpec), context_(context)
    {
    }

    // False when the walk must end (stop requested or failure shown).
    bool ListFolder(const QString& folderPath);

private:
    bool ListFile(const QString& folder, const QString& name);
    double Measure(const std::filesystem::path& file);
    bool Append(const QString& text);
    bool StopAfterPausePoint();
    void Fail(const QString& description);

    QString fileSpec_;
    const RandomnessListingContext& context_;
    FolderWalkGuard guard_;
};

bool Walk::ListFolder(const QString& folderPath)
{
    const QString folder = AddBackslash(NormalizePathCase(folderPath));
    if (!guard_.FirstVisit(folder)) return true;
    QString errorText;
    const std::optional<FolderListing> listing = kyv::ListFolder(folder, fileSpec_, errorText);
    if (!listing) {
        Fail(errorText);
        return false;
    }
    context_.values.fileListCount = static_cast<int>(listing->matchingFiles.size());

    if (!listing->matchingFiles.isEmpty()) {
        if (!Append(DisplayName(folder) + kLineBreak)) return false;
        // Matching names are a subsequence of the files, in the same order.
        qsizetype nextMatch = 0;
        for (const QString& name : listing->files) {
            if (nextMatch < listing->matchingFiles.size() && name == listing->matchingFiles[nextMatch]) {
                ++nextMatch;
                if (!ListFile(folder, name)) return false;
            }
            if (StopAfterPausePoint()) return false;
        }
        if (!Append(kLineBreak)) return false;
    }

    if (!context_.includeSubfolders) return true;
    for (const QString& subfolder : listing->subfolders) {
        const QString subfolderPath = folder + subfolder;
        if (context_.nextFolder != nullptr) *context_.nextFolder = subfolderPath;
        if (!ListFolder(subfolderPath)) return false;
        if (StopAfterPausePoint()) return false;
    }
    return true;
}

bool Walk::ListFile(const QString& folder, const QString& name)
{
    const std::filesystem::path file = ToFileSystemPath(folder + name);
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
            QStringLiteral(" bytes)   \r\n");
    if (!Append(line)) return false;
    if (context_.filesListed != nullptr) ++*context_.filesListed;
    return true;
}

double Walk::Measure(const std::filesystem::path& file)
{
    const std::int64_t minimumSize = kMinFileSizeForRandomness;
    const RandomnessMeasure measure =
        context_.measure ? context_.measure : RandomnessMeasure(&filelib::FileRandomness);
    return measure(file, minimumSize);
}

bool Walk::Append(const QString& text)
{
    if (context_.report.AppendReport(text, true)) {
        if (context_.reportLines != nullptr)
            *context_.reportLines += static_cast<int>(text.count(kLineBreak));
        return true;
    }
    Fail(QStringLiteral("The report cannot hold more text."));
    return false;
}

bool Walk::StopAfterPausePoint()
{
    context_.report.PausePoint();
    return context_.report.StopRequested();
}

void Walk::Fail(const QString& description)
{
    context_.prompter.Tell(description, QStringLiteral("Error"), MessageIcon::Exclamation);
    context_.report.ReportBufferFull();
    context_.report.RequestStop();
}

}  // namespace

void ListFolderRandomness(const QString& folder, const QString& fileSpec,
                          const RandomnessListingContext& context)
{
    Walk walk(fileSpec, context);
    walk.ListFolder(folder);
}

}  // namespace kyv
