#include "core/app/MainWindowModel.h"

#include "core/app/BackgroundRandomnessMeasurer.h"
#include "core/app/FilesStatusLine.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "platform/Drives.h"

namespace kyv {

namespace {
const QString kNoSubfolders = QStringLiteral("(The input folder has no subfolders.)");
const QString kNotInSubfolders = QStringLiteral("(Do not operate on files in lower subfolders.)");
}  // namespace

MainWindowModel::MainWindowModel(OperationSetup& setup, WorkingValues& values, Prompter& prompter)
    : setup_(setup),
      values_(values),
      prompter_(prompter),
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
    setup_.blnEncrypt = !setup_.blnEncrypt;
    const bool encrypt = setup_.blnEncrypt;
    labels_.lblFunction = encrypt ? QStringLiteral("Encryption") : QStringLiteral("Decryption");
    labels_.lblFunction2 = QStringLiteral("(") + (encrypt ? "Encrypt" : "Decrypt") + " the input files.)";
    labels_.cmdKeyFrom = labels_.lblFunction + " key";
    labels_.lblSetupFilename.clear();
    ShowSingleFileHint();
}

void MainWindowModel::PerformOutputFilesSame()
{
    setup_.blnOutputFilesSame = !setup_.blnOutputFilesSame;
    if (setup_.blnOutputFilesSame) {
        labels_.lblOutputFilesSame = QStringLiteral("Yes");
        labels_.lblOutputFilesSame2 = QStringLiteral("(The output files are the same as the input files.)");
        CopyInputSideToOutput();
        ShowFilesStatus(kInputSide);
        ShowFilesStatus(kOutputSide);
    } else {
        labels_.lblOutputFilesSame = QStringLiteral("No");
        labels_.lblOutputFilesSame2 =
            QStringLiteral("(The output files normally are different from the input files.)");
    }
    labels_.lblSetupFilename.clear();
}

void MainWindowModel::PerformSubdirectories()
{
    const QString& folder = setup_.strDirpath[kInputSide];
    if (!folder.isEmpty()) {
        QString errorText;
        const int subfolders = CountSubfolders(folder, errorText);
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
    setup_.blnSubdirectories = !setup_.blnSubdirectories;
    labels_.lblSetupFilename.clear();
    if (!setup_.blnSubdirectories) {
        ShowSubdirectoriesOff(kNotInSubfolders);
        return;
    }
    ShowSubdirectoriesOn();
    // Files in lower subfolders are only ever written in place.
    setup_.blnOutputFilesSame = false;
    PerformOutputFilesSame();
}

void MainWindowModel::ShowSubdirectoriesOn()
{
    labels_.lblSubdirectories = QStringLiteral("Yes");
    labels_.lblSubdirectories2 = QStringLiteral("(Operate on all specified files in lower subfolders.)");
}

void MainWindowModel::ShowSubdirectoriesOff(const QString& explanation)
{
    setup_.blnSubdirectories = false;
    labels_.lblSubdirectories = QStringLiteral("No");
    labels_.lblSubdirectories2 = explanation;
}

void MainWindowModel::ForgetUnreadableInputFolder()
{
    const QString folder = setup_.strDirpath[kInputSide];
    // A drive without its medium is not worth a message; the folder is forgotten all the same.
    if (platform::DriveIsUsable(folder)) {
        prompter_.Tell(QStringLiteral("Error when attempting to access ") + folder + QStringLiteral("."),
                       QStringLiteral("Error"), MessageIcon::Exclamation);
    }
    // The flag stays as it was; its labels are written all the same, since at start-up this may
    // be the first time they are.
    if (setup_.blnSubdirectories)
        ShowSubdirectoriesOn();
    else
        ShowSubdirectoriesOff(kNotInSubfolders);
    const bool outputSideToo = setup_.strDirpath[kOutputSide] == folder || setup_.blnOutputFilesSame;
    setup_.strDirpath[kInputSide].clear();
    setup_.strFilespec[kInputSide].clear();
    ShowFilesStatus(kInputSide);
    if (outputSideToo) {
        setup_.strDirpath[kOutputSide].clear();
        setup_.strFilespec[kOutputSide].clear();
        ShowFilesStatus(kOutputSide);
    }
    labels_.lblSetupFilename.clear();
}

void MainWindowModel::ApplySetupFlags(bool encrypt, bool outputFilesSame, bool subdirectories)
{
    setup_.blnEncrypt = !encrypt;
    PerformFunction();
    setup_.blnOutputFilesSame = !outputFilesSame;
    PerformOutputFilesSame();
    setup_.blnSubdirectories = !subdirectories;
    PerformSubdirectories();
}

void MainWindowModel::ShowFilesStatus(int side)
{
    showingFilesStatus_ = true;
    const FilesStatusLine line = DescribeFilesSide(setup_, values_, side);
    labels_.lblDirectory[side] = line.lblDirectory;
    labels_.lblFiles[side] = line.lblFiles;
    labels_.lblFiles2[side] = line.lblFiles2;
    if (line.descriptionLeft) labels_.lblFiles2Left[side] = *line.descriptionLeft;
    if (!line.filePath.isEmpty()) values_.strCurrentFilePath = line.filePath;
    if (side == kInputSide) {
        if (line.measurePath.isEmpty())
            measurer_->Cancel();
        else
            RequestMeasure(line.measurePath);
    }
    ShowSingleFileHint();
    showingFilesStatus_ = false;
}

void MainWindowModel::RequestMeasure(const QString& path)
{
    measurer_->Request(path, values_.intMinFilesizeForRandomness, [this, path](double randomness) {
        labels_.lblFiles2[kInputSide] = DescribeInputFile(path, randomness, values_.dblMinKyvRandomness);
        if (!showingFilesStatus_ && labelsChanged) labelsChanged();
    });
}

void MainWindowModel::RefreshFilesStatus()
{
    ShowFilesStatus(kInputSide);
    ShowFilesStatus(kOutputSide);
}

void MainWindowModel::ShowSingleFileHint()
{
    if (labels_.lblFiles[kInputSide] == values_.strNotSpecified) {
        labels_.lblSingleFile = QStringLiteral("To ") + (setup_.blnEncrypt ? "encrypt" : "decrypt") +
                                " multiple files specify input folder and input files.";
    } else {
        labels_.lblSingleFile.clear();
    }
}

void MainWindowModel::CopyInputSideToOutput()
{
    auto& folder = setup_.strDirpath;
    auto& spec = setup_.strFilespec;
    if (!folder[kInputSide].isEmpty() || folder[kOutputSide].isEmpty())
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
    const bool same = setup_.strFilespec[kInputSide] == setup_.strFilespec[kOutputSide] &&
                      setup_.strDirpath[kInputSide] == setup_.strDirpath[kOutputSide];
    if (same) {
        labels_.lblOutputFilesSame = QStringLiteral("Yes");
        labels_.lblOutputFilesSame2 = QStringLiteral("(The output files are the same as the input files.)");
    } else {
        labels_.lblOutputFilesSame = QStringLiteral("No");
        labels_.lblOutputFilesSame2 =
            QStringLiteral("(The output files normally are different from the input files.)");
    }
    return same;
}

}  // namespace kyv
