#include "core/app/FileSpecCommands.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/app/DialogStartFolders.h"
#include "core/app/ExtensionEntry.h"
#include "core/app/MainWindowModel.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"
#include "core/files/InputFolderCheck.h"

namespace kyv {

namespace {

const QString kOutputIsInput =
    QStringLiteral("Currently output files are specified as the same as the input files.");

// Empty when `folder` can be used as a folder, otherwise the system's description of why not.
QString FolderProblem(const FilePath& folder)
{
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (error) return QString::fromStdString(error.message());
    if (!std::filesystem::is_directory(status))
        return QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message());
    return QString();
}

}  // namespace

FileDialogRequest FileSpecCommands::SingleFileRequest() const
{
    FileDialogRequest request;
    request.title = QStringLiteral("Specify file to be ") +
                    (model_.Setup().Encrypts() ? QStringLiteral("encrypted") : QStringLiteral("decrypted"));
    request.filter = QStringLiteral("All files (*.*) | *.*");
    request.folder = InputStartFolder(model_.Setup());
    return request;
}

void FileSpecCommands::ApplySingleFile(const FilePath& path)
{
    if (path.IsEmpty()) return;
    OperationSetup& setup = model_.Setup();
    setup.folders[kInputSide] = path.Parent();
    setup.fileSpecs[kInputSide] = path.Name().Text();
    setup.fileSpecs[kOutputSide] = setup.inPlace ? setup.fileSpecs[kInputSide] : QString();
    setup.folders[kOutputSide] = setup.folders[kInputSide];
    model_.ShowSubdirectoriesOff(QStringLiteral("(Do not operate on files in lower subfolders.)"));
    model_.Labels().setupFileText.clear();
    model_.RefreshFilesStatus();
}

bool FileSpecCommands::MayChooseFolder(int index)
{
    if (index == kOutputSide && model_.Setup().inPlace) {
        model_.Prompts().Tell(kOutputIsInput, QStringLiteral("Specify output folder"), MessageIcon::None);
        return false;
    }
    return true;
}

QString FileSpecCommands::FolderBrowserTitle(int index)
{
    return index == kInputSide ? QStringLiteral("Specify input folder")
                               : QStringLiteral("Specify output folder");
}

bool FileSpecCommands::ApplyFolder(int index, const FilePath& chosen)
{
    if (chosen.IsEmpty()) return false;
    OperationSetup& setup = model_.Setup();
    const FilePath folder = chosen.AsFolder();
    // The folder may have gone between the browser and now.
    const QString problem = FolderProblem(folder);
    if (!problem.isEmpty()) {
        ForgetFolder(index, problem);
        return false;
    }
    setup.folders[index] = folder;
    model_.ShowFilesStatus(index);
    if (index == kInputSide && setup.folders[kOutputSide].IsEmpty()) {
        setup.folders[kOutputSide] = folder;
        model_.ShowFilesStatus(kOutputSide);
    }
    if (setup.inPlace) {
        model_.CopyInputSideToOutput();
        model_.ShowFilesStatus(kOutputSide);
    }
    if (index == kInputSide) {
        QString errorText;
        // Whether there are any: the count stops at the first subfolder.
        model_.ShowSubdirectoriesOff(CountSubfolders(folder, errorText, 1) == 0
                                         ? QStringLiteral("(The input folder has no subfolders.)")
                                         : QStringLiteral("(Do not operate on files in lower subfolders.)"));
    }
    model_.Labels().setupFileText.clear();
    return true;
}

void FileSpecCommands::ForgetFolder(int index, const QString& errorText)
{
    model_.Prompts().Tell(errorText, QStringLiteral("Error"), MessageIcon::Exclamation);
    OperationSetup& setup = model_.Setup();
    setup.folders[index] = FilePath();
    model_.ShowFilesStatus(index);
    if (setup.inPlace) {
        const int other = index == kInputSide ? kOutputSide : kInputSide;
        setup.folders[other] = FilePath();
        model_.ShowFilesStatus(other);
    }
}

bool FileSpecCommands::PrepareInputFiles()
{
    const FilePath& folder = model_.Setup().folders[kInputSide];
    if (folder.IsEmpty()) {
        model_.Prompts().Tell(QStringLiteral("The input folder has not been specified."),
                              QStringLiteral("Folder unspecified"), MessageIcon::Exclamation);
        return false;
    }
    if (!CheckInputFolder(folder, QStringLiteral("*.*"), model_.Prompts())) return false;
    QString errorText;
    // The dialog asks only whether there are files, and lists them itself off the window's thread:
    // the count stops at the first file, however large the folder.
    model_.Values().fileListCount =
        std::max(0, CountMatchingFiles(folder, QStringLiteral("*.*"), errorText, 1));
    return true;
}

void FileSpecCommands::ApplyInputFiles(const InputFilesChoice& choice)
{
    OperationSetup& setup = model_.Setup();
    switch (choice.option) {
        case InputFilesOption::SingleFile:
        case InputFilesOption::MultipleFiles:
            setup.fileSpecs[kInputSide] = choice.text;
            break;
        case InputFilesOption::AllFiles:
            setup.fileSpecs[kInputSide] = QStringLiteral("*.*");
            setup.fileSpecs[kOutputSide] = QStringLiteral("*.*");
            break;
        case InputFilesOption::Extension:
            setup.fileSpecs[kInputSide] = QStringLiteral("*.") + choice.text;
            break;
    }
    model_.Labels().setupFileText.clear();
    model_.ShowFilesStatus(kInputSide);
    if (setup.inPlace)
        model_.CopyInputSideToOutput();
    else if (model_.ShowOutputSameState())
        setup.inPlace = true;
    model_.ShowFilesStatus(kOutputSide);
    // Tells at once when nothing in the input folder matches; the choice stands all the same.
    (void)CheckInputFolder(setup.folders[kInputSide], setup.fileSpecs[kInputSide], model_.Prompts());
}

bool FileSpecCommands::PrepareOutputFiles()
{
    const OperationSetup& setup = model_.Setup();
    const FilePath& folder = setup.folders[kOutputSide];
    if (folder.IsEmpty()) {
        model_.Prompts().Tell(QStringLiteral("The output folder has not been specified."),
                              QStringLiteral("Folder unspecified"), MessageIcon::Exclamation);
        return false;
    }
    if (setup.inPlace) {
        model_.Prompts().Tell(kOutputIsInput, QStringLiteral("Specify output files"), MessageIcon::None);
        return false;
    }
    QString errorText;
    const int files = CountMatchingFiles(folder, QStringLiteral("*.*"), errorText, 1);
    if (files < 0) {
        // An output folder that has gone cannot be listed; the setup stays as it is.
        model_.Prompts().Tell(
            QStringLiteral("Error when attempting to access ") + folder.Display() + QStringLiteral("."),
            QStringLiteral("Error"), MessageIcon::Exclamation);
        return false;
    }
    model_.Values().fileListCount = files;
    return true;
}

void FileSpecCommands::ApplyOutputFiles(const OutputFilesChoice& choice)
{
    OperationSetup& setup = model_.Setup();
    if (choice.option == OutputFilesOption::Extension)
        setup.fileSpecs[kOutputSide] = OutputSpecWithExtension(setup.fileSpecs[kInputSide], choice.text);
    else
        setup.fileSpecs[kOutputSide] = choice.text;
    model_.ShowFilesStatus(kOutputSide);
    model_.Labels().setupFileText.clear();
}

}  // namespace kyv
