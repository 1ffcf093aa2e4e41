#include "core/analysis/RandomnessReport.h"

#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

namespace {

const QString kReportTitle = QStringLiteral("Randomness report");

bool SideSpecified(const OperationSetup& setup, int side)
{
    return !setup.folders[side].IsEmpty() && !setup.fileSpecs[side].isEmpty();
}

bool IsWildcard(const QString& spec)
{
    return spec.contains(QLatin1Char('?')) || spec.contains(QLatin1Char('*'));
}

}  // namespace

bool RandomnessReportPossible(const OperationSetup& setup, Prompter& prompter)
{
    if (SideSpecified(setup, kInputSide) || SideSpecified(setup, kOutputSide)) return true;
    prompter.Tell(QStringLiteral("Neither input files nor output files are specified."),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
    return false;
}

RandomnessReportPlan PlanRandomnessReport(const OperationSetup& setup, int side, Prompter& prompter)
{
    RandomnessReportPlan plan;
    plan.folder = setup.folders[side];
    plan.spec = setup.fileSpecs[side];
    const bool wildcard = IsWildcard(plan.spec);
    QString errorText;
    // With subfolders only a failure matters: one file is enough to know the folder can be read.
    const int count =
        CountMatchingFiles(plan.folder, plan.spec, errorText, setup.includeSubfolders ? 1 : kCountAll);
    if (count < 0) {
        prompter.Tell(side == kInputSide ? QStringLiteral("Cannot access the input folder.")
                                         : QStringLiteral("Cannot access the output folder."),
                      QStringLiteral("Error"), MessageIcon::Error);
        return plan;
    }
    if (count == 0 && !setup.includeSubfolders) {
        prompter.Tell(wildcard
                          ? QStringLiteral("There are no files in ") + plan.folder.Display() +
                                QStringLiteral(" matching ") + DisplayName(plan.spec) + QLatin1Char('.')
                          : QStringLiteral("File ") + DisplayName(plan.spec) + QStringLiteral(" not found."),
                      kReportTitle, MessageIcon::Exclamation);
        return plan;
    }
    plan.kind = setup.includeSubfolders || wildcard ? RandomnessReportKind::Listing
                                                    : RandomnessReportKind::SingleFile;
    return plan;
}

QString RandomnessListingCaption(int side, const QString& spec)
{
    return QStringLiteral("Randomness report for ") +
           (side == kInputSide ? QStringLiteral("input files") : QStringLiteral("output files")) +
           QLatin1Char(' ') + DisplayName(spec);
}

std::optional<RandomnessGraphicText> SingleFileRandomness(int side, const QString& spec, qint64 size,
                                                          double randomness, Prompter& prompter)
{
    if (randomness == filelib::kRandomnessTooShort) {
        prompter.Tell(DisplayName(spec) + QStringLiteral(" is too small (") + QString::number(size) +
                          QStringLiteral(" bytes) to have a randomness value."),
                      kReportTitle, MessageIcon::None);
        return std::nullopt;
    }
    if (filelib::IsRandomnessError(randomness)) {
        prompter.Tell(QStringLiteral("Cannot give a randomness report for this file."),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        return std::nullopt;
    }
    RandomnessGraphicText text;
    // The picture is drawn from whole pairs of bytes.
    text.length = size & ~qint64{1};
    text.caption = (side == kInputSide ? QStringLiteral("Input") : QStringLiteral("Output")) +
                   QStringLiteral(" file: ") + spec.section(QLatin1Char('/'), -1);
    text.fileSize =
        QStringLiteral("Filesize = ") + GroupedNumber(std::int64_t{text.length}) + QStringLiteral(" bytes");
    text.randomness = QStringLiteral("Randomness = ") + GroupedNumber(randomness, 3);
    return text;
}

}  // namespace kyv
