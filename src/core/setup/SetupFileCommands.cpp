#include "core/setup/SetupFileCommands.h"

#include <filesystem>
#include <system_error>

#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/files/OutputConfinement.h"

namespace kyv {

namespace {

const QString kErrorTitle = QStringLiteral("Error");

QString RefusedMessage(const FilePath& path, const QString& problem)
{
    return QStringLiteral("The setup in file ") + path.Display() + QStringLiteral(" is refused: ") + problem;
}

}  // namespace

QString SetupConfinementProblem(const SetupFileContents& contents)
{
    return ConfinementProblem(contents.folders, contents.fileSpecs[kOutputSide]);
}

std::optional<SetupFileContents> LoadOperationFile(const FilePath& path, Prompter& prompter)
{
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) {
        prompter.Tell(QStringLiteral("File ") + path.Display() + QStringLiteral(" not found!"),
                      QStringLiteral("Error when attempting to load setup."), MessageIcon::Exclamation);
        return std::nullopt;
    }
    std::optional<SetupFileContents> contents = ReadSetupFile(path);
    if (!contents) {
        prompter.Tell(
            QStringLiteral("Error when attempting to load setup from file ") + path.Display() + u'!',
            kErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    const QString problem = SetupConfinementProblem(*contents);
    if (!problem.isEmpty()) {
        prompter.Tell(RefusedMessage(path, problem), kErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return contents;
}

std::optional<SetupFileContents> LoadNextRunSetup(const FilePath& path, Prompter& prompter)
{
    std::optional<SetupFileContents> contents = ReadSetupFile(path);
    if (!contents) return std::nullopt;
    const QString problem = SetupConfinementProblem(*contents);
    if (!problem.isEmpty()) {
        prompter.Tell(RefusedMessage(path, problem), kErrorTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return contents;
}

bool SaveNextRunSetup(const FilePath& path, const SetupFileContents& contents, Prompter& prompter)
{
    if (WriteSetupFile(path, contents)) return true;
    prompter.Tell(QStringLiteral("Cannot save setup!"), kErrorTitle, MessageIcon::Exclamation);
    return false;
}

SetupSaveOutcome SaveOperationFile(const FilePath& path, const SetupFileContents& contents,
                                   Prompter& prompter)
{
    std::error_code missing;
    if (std::filesystem::exists(path, missing)) {
        const MessageAnswer answer = prompter.Ask(
            Message{QStringLiteral("Overwrite existing file ") + path.Display() + u'?',
                    QStringLiteral("File exists"), MessageButtons::YesNoCancel, MessageIcon::None, 1});
        if (answer != MessageAnswer::Yes) return SetupSaveOutcome::NotSaved;
    }
    if (WriteSetupFile(path, contents)) return SetupSaveOutcome::Saved;
    prompter.Tell(QStringLiteral("Cannot save setup in operation file ") + path.Display() + u'!', kErrorTitle,
                  MessageIcon::Exclamation);
    return SetupSaveOutcome::Failed;
}

}  // namespace kyv
