#include "core/app/MainWindowModel.h"
#include "core/common/RandomnessThresholds.h"

#include "core/analysis/BackgroundRandomnessMeasurer.h"
#include "core/app/FilesStatusLine.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"
#include "platform/Drives.h"

namespace kyv {

namespace {
const QString kNoSubfolders = QStringLiteral("(The input folder has no subfolders.)");
const QString kNotInSubfolders = QStringLiteral("(Do not operate on files in lower subfolders.)");
}  // namespace

MainWindowModel::MainWindowModel(OperationSetup& setup, WorkingValues& values, Prompter& prompter,
                                 const platform::FloppyFolders& floppies, std::function<void()> labelsChanged)
    : setup_(setup),
      values_(values),
      prompter_(prompter),
      floppies_(floppies),
      labelsChanged_(std::move(labelsChanged)),
      measurer_(std::make_unique<BackgroundRandomnessMeasurer>())
{
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::SetRandomnessMeasurer(std::unique_ptr<RandomnessMeasurer> measurer)
{
    measurer_ = std::move(measurer);
}

void MainWindowModel::PerformFunction()
{
    setup_.direction = Opposite(setup_.direction);
    const bool encrypt = setup_.Encrypts();
    labels_.functionText = encrypt ? QStringLiteral("Encryption") : QStringLiteral("Decryption");
    labels_.functionExplanation =
        QStringLiteral("(") + (encrypt ? "Encrypt" : "Decrypt") + " the input files.)";
    labels_.keyButtonCaption = labels_.functionText + " key";
    labels_.setupFileText.clear();
    ShowSingleFileHint();
}

void MainWindowModel::PerformOutputFilesSame()
{
    setup_.inPlace = !setup_.inPlace;
    if (setup_.inPlace) {
        labels_.inPlaceText = QStringLiteral("Yes");
        labels_.inPlaceExplanation = QStringLiteral("(The output files are the same as the input files.)");
        CopyInputSideToOutput();
        ShowFilesStatus(kInputSide);
        ShowFilesStatus(kOutputSide);
    } else {
        labels_.inPlaceText = QStringLiteral("No");
        labels_.inPlaceExplanation =
            QStringLiteral("(The output files normally are different from the input files.)");
    }
    labels_.setupFileText.clear();
}

void MainWindowModel::PerformSubdirectories()
{
    const FilePath& folder = setup_.folders[kInputSide];
    if (!folder.IsEmpty()) {
        QString errorText;
        // Whether there are any: the count stops at the first subfolder.
        const int subfolders = CountSubfolders(folder, errorText, 1);
        if (subfolders == -1) {
            ForgetUnreadableInputFolder();
            return;
        }
        if (subfolders == 0) {
            ShowSubdirectoriesOff(kNoSubfolders);
            return;
        }
    }
    ToggleSubdirectories();
}

void MainWindowModel::ToggleSubdirectories()
{
    setup_.includeSubfolders = !setup_.includeSubfolders;
    labels_.setupFileText.clear();
    if (!setup_.includeSubfolders) {
        ShowSubdirectoriesOff(kNotInSubfolders);
        return;
    }
    ShowSubdirectoriesOn();
    // Files in lower subfolders are only ever written in place.
    setup_.inPlace = false;
    PerformOutputFilesSame();
}

void MainWindowModel::ShowSubdirectoriesOn()
{
    labels_.subfoldersText = QStringLiteral("Yes");
    labels_.subfoldersExplanation = QStringLiteral("(Operate on all specified files in lower subfolders.)");
}

void MainWindowModel::ShowSubdirectoriesOff(const QString& explanation)
{
    setup_.includeSubfolders = false;
    labels_.subfoldersText = QStringLiteral("No");
    labels_.subfoldersExplanation = explanation;
}

void MainWindowModel::ForgetUnreadableInputFolder()
{
    const FilePath folder = setup_.folders[kInputSide];
    // A drive without its medium is not worth a message; the folder is forgotten all the same.
    if (platform::DriveIsUsable(folder)) {
        prompter_.Tell(
            QStringLiteral("Error when attempting to access ") + folder.Display() + QStringLiteral("."),
            QStringLiteral("Error"), MessageIcon::Exclamation);
    }
    // The flag stays as it was; its labels are written all the same, since at start-up this may
    // be the first time they are.
    if (setup_.includeSubfolders)
        ShowSubdirectoriesOn();
    else
        ShowSubdirectoriesOff(kNotInSubfolders);
    const bool outputSideToo = setup_.folders[kOutputSide] == folder || setup_.inPlace;
    setup_.folders[kInputSide] = FilePath();
    setup_.fileSpecs[kInputSide].clear();
    ShowFilesStatus(kInputSide);
    if (outputSideToo) {
        setup_.folders[kOutputSide] = FilePath();
        setup_.fileSpecs[kOutputSide].clear();
        ShowFilesStatus(kOutputSide);
    }
    labels_.setupFileText.clear();
}

void MainWindowModel::ApplySetupFlags(bool encrypt, bool outputFilesSame, bool subdirectories)
{
    setup_.direction = DirectionFor(!encrypt);
    PerformFunction();
    setup_.inPlace = !outputFilesSame;
    PerformOutputFilesSame();
    setup_.includeSubfolders = !subdirectories;
    PerformSubdirectories();
}

void MainWindowModel::ShowFilesStatus(int side)
{
    showingFilesStatus_ = true;
    const FilesStatusLine line = DescribeFilesSide(setup_, values_, side, floppies_);
    labels_.folderTexts[side] = line.folderTexts;
    labels_.specTexts[side] = line.specTexts;
    labels_.specExplanations[side] = line.specExplanations;
    if (line.descriptionLeft) labels_.specExplanationLefts[side] = *line.descriptionLeft;
    if (side == kInputSide) {
        if (line.measurePath.IsEmpty())
            measurer_->Cancel();
        else
            RequestMeasure(line.measurePath);
    }
    ShowSingleFileHint();
    showingFilesStatus_ = false;
}

void MainWindowModel::RequestMeasure(const platform::FilePath& path)
{
    measurer_->Request(path, kMinFileSizeForRandomness, [this, path](double randomness) {
        labels_.specExplanations[kInputSide] = DescribeInputFile(path, randomness, kMinEncryptedRandomness);
        if (!showingFilesStatus_ && labelsChanged_) labelsChanged_();
    });
}

void MainWindowModel::RefreshFilesStatus()
{
    ShowFilesStatus(kInputSide);
    ShowFilesStatus(kOutputSide);
}

void MainWindowModel::ShowSingleFileHint()
{
    if (labels_.specTexts[kInputSide] == values_.notSpecifiedText) {
        labels_.singleFileText = QStringLiteral("To ") + (setup_.Encrypts() ? "encrypt" : "decrypt") +
                                 " multiple files specify input folder and input files.";
    } else {
        labels_.singleFileText.clear();
    }
}

void MainWindowModel::CopyInputSideToOutput()
{
    auto& folder = setup_.folders;
    auto& spec = setup_.fileSpecs;
    if (!folder[kInputSide].IsEmpty() || folder[kOutputSide].IsEmpty())
        folder[kOutputSide] = folder[kInputSide];
    else
        folder[kInputSide] = folder[kOutputSide];
    if (!spec[kInputSide].isEmpty() || spec[kOutputSide].isEmpty())
        spec[kOutputSide] = spec[kInputSide];
    else
        spec[kInputSide] = spec[kOutputSide];
}

bool MainWindowModel::ShowOutputSameState()
{
    const bool same = setup_.fileSpecs[kInputSide] == setup_.fileSpecs[kOutputSide] &&
                      setup_.folders[kInputSide] == setup_.folders[kOutputSide];
    if (same) {
        labels_.inPlaceText = QStringLiteral("Yes");
        labels_.inPlaceExplanation = QStringLiteral("(The output files are the same as the input files.)");
    } else {
        labels_.inPlaceText = QStringLiteral("No");
        labels_.inPlaceExplanation =
            QStringLiteral("(The output files normally are different from the input files.)");
    }
    return same;
}

}  // namespace kyv
