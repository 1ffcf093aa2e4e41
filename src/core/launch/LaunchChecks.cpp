#include "core/launch/LaunchChecks.h"

#include <filesystem>
#include <system_error>

#include "core/common/DirectionWord.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"
#include "core/files/InputFolderCheck.h"
#include "core/files/NameText.h"
#include "core/files/OutputConfinement.h"
#include "core/keys/KeyState.h"

namespace kyv {

namespace {
const QString kErrorTitle = QStringLiteral("Error");
}

bool CheckSetupConfined(const OperationSetup& setup, Prompter& prompter)
{
    const QString problem = ConfinementProblem(setup.folders, setup.OutputSpec());
    if (problem.isEmpty()) return true;
    prompter.Tell(problem, kErrorTitle, MessageIcon::Exclamation);
    return false;
}

bool InputFilesSpecified(const OperationSetup& setup)
{
    return !setup.InputSpec().isEmpty() && !setup.InputFolder().IsEmpty();
}

bool OutputFilesSpecified(const OperationSetup& setup)
{
    return !setup.OutputSpec().isEmpty() && !setup.OutputFolder().IsEmpty();
}

bool CheckInputSide(const OperationSetup& setup, Prompter& prompter)
{
    if (!InputFilesSpecified(setup)) {
        prompter.Tell(QStringLiteral("Input file(s) not specified."), kErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!CheckInputFolder(setup.InputFolder(), setup.InputSpec(), prompter)) return false;
    QString errorText;
    const int topLevelFiles = CountMatchingFiles(setup.InputFolder(), setup.InputSpec(), errorText, 1);
    if (topLevelFiles == 0 && !setup.includeSubfolders) {
        prompter.Tell(QStringLiteral("The input folder contains no matching files."),
                      QStringLiteral("Nothing to do"), MessageIcon::Exclamation);
        return false;
    }
    // A folder that became unreadable since the folder check is named when the files are listed.
    return true;
}

bool CheckKeySpecified(const OperationSetup& setup, const KeyState& key, Prompter& prompter)
{
    if (key.source != NotSpecified && !key.normalizedKey.empty()) return true;
    prompter.Tell(
        QStringLiteral("Please specify the ") +
            DirectionWord(setup.Encrypts(), QStringLiteral("encryption")) + QStringLiteral(" key."),
        DirectionWord(setup.Encrypts(), QStringLiteral("Encryption")) + QStringLiteral(" key not specified"),
        MessageIcon::None);
    return false;
}

bool OutputNamesInput(const OperationSetup& setup)
{
    if (LowerCaseText(setup.OutputSpec()) != LowerCaseText(setup.InputSpec())) return false;
    const FilePath& input = setup.InputFolder();
    const FilePath& output = setup.OutputFolder();
    if (output == input) return true;
    if (LowerCaseText(output.Text()) != LowerCaseText(input.Text())) return false;
    // Where letter case tells folders apart, "/Data/" and "/data/" may be two folders: the output
    // then goes where it was asked to, and the input files are not overwritten.
    std::error_code error;
    const std::filesystem::path inputFolder = std::filesystem::canonical(input, error);
    if (error) return false;
    const std::filesystem::path outputFolder = std::filesystem::canonical(output, error);
    return !error && inputFolder == outputFolder;
}

bool CheckOutputSide(OperationSetup& setup, Prompter& prompter,
                     const std::function<void()>& performOutputFilesSame)
{
    if (!OutputFilesSpecified(setup)) {
        prompter.Tell(QStringLiteral("Output file(s) not specified."), kErrorTitle, MessageIcon::Exclamation);
        return false;
    }
    if (OutputNamesInput(setup)) {
        setup.inPlace = false;
        if (performOutputFilesSame)
            performOutputFilesSame();
        else
            setup.inPlace = true;
    }
    if (setup.includeSubfolders && !setup.inPlace) {
        prompter.Tell(QStringLiteral("If subfolders are included then the output files ") +
                          QStringLiteral("must be the same as the input files."),
                      QString(), MessageIcon::Information);
        return false;
    }
    return true;
}

}  // namespace kyv
