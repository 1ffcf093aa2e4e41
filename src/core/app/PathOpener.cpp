#include "core/app/PathOpener.h"

#include <filesystem>
#include <system_error>

#include "core/app/DropPlan.h"
#include "core/app/EncryptedFileShape.h"
#include "core/app/FileSpecCommands.h"
#include "core/app/FilesChoice.h"
#include "core/app/MainWindowModel.h"
#include "core/app/PathParts.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/files/NameText.h"

namespace kyv {

namespace {

// The extension the program proposes for encrypted files (the output dialog's "e.g., enc:").
const QString kEncryptedExtension = QStringLiteral("enc");

FilePath AbsolutePath(const QString& argument)
{
    const FilePath given = FilePath(argument);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(given, error);
    if (error) return given;
    return absolute.lexically_normal();
}

}  // namespace

std::optional<QString> DecryptionOutputSpec(const QString& name)
{
    const BaseAndExtension parts = SplitBaseExtension(name);
    if (parts.base.isEmpty() || LowerCaseText(parts.extension) != kEncryptedExtension) return std::nullopt;
    return QStringLiteral("*");
}

QString EncryptionOutputSpec(const QString& name)
{
    // A name holding a wildcard would be read as a pattern.
    if (name.isEmpty() || ContainsWildcard(name)) return QString();
    return name + u'.' + kEncryptedExtension;
}

bool PathOpener::Drop(const std::vector<FilePath>& paths) { return Apply(PlanDrop(paths)); }

bool PathOpener::Open(const QStringList& arguments, StartFunction function)
{
    std::vector<FilePath> paths;
    for (const QString& argument : arguments) paths.push_back(AbsolutePath(argument));
    const DropPlan plan = PlanDrop(paths);
    if (!Apply(plan)) return false;

    const bool singleFile = plan.shape == DropShape::SingleFile;
    const QString name = plan.path.Name().Text();
    switch (function) {
        case StartFunction::AsSetup:
            if (singleFile && HasEncryptedFileShape(plan.path)) SetUpDecryption(name);
            break;
        case StartFunction::Decrypt:
            if (singleFile)
                SetUpDecryption(name);
            else
                SetFunction(Direction::Decrypt);
            break;
        case StartFunction::Encrypt:
            if (singleFile)
                SetUpEncryption(name);
            else
                SetFunction(Direction::Encrypt);
            break;
    }
    return true;
}

bool PathOpener::Apply(const DropPlan& plan)
{
    Prompter& prompter = model_.Prompts();
    const QString errorTitle = QStringLiteral("Error");
    switch (plan.shape) {
        case DropShape::Nothing:
            return false;
        case DropShape::Missing:
            prompter.Tell(QStringLiteral("There is no file or folder ") + plan.path.Display() + u'.',
                          errorTitle, MessageIcon::Exclamation);
            return false;
        case DropShape::Mixed:
            prompter.Tell(
                QStringLiteral("Kyv Cipher takes one file, one folder, or several files of one folder."),
                errorTitle, MessageIcon::Exclamation);
            return false;
        case DropShape::SingleFile:
            commands_.ApplySingleFile(plan.path);
            return true;
        case DropShape::Folder:
            return ApplyInputFolder(plan.path);
        case DropShape::FilesOfOneFolder:
            break;
    }

    InputFilesChoice choice{InputFilesOption::Extension, plan.sharedExtension};
    if (plan.sharedExtension.isEmpty()) {
        const MessageAnswer answer = prompter.Ask(Message{
            QStringLiteral("The files do not share one extension. Specify all files of their folder (*.*)?"),
            QStringLiteral("Input file(s)"), MessageButtons::YesNo, MessageIcon::Question, 2});
        if (answer != MessageAnswer::Yes) return false;
        choice = InputFilesChoice{InputFilesOption::AllFiles, QString()};
    }
    if (!ApplyInputFolder(plan.path)) return false;
    commands_.ApplyInputFiles(choice);
    return true;
}

bool PathOpener::ApplyInputFolder(const FilePath& folder)
{
    // A folder that could not be used has been reported and forgotten.
    return commands_.ApplyFolder(kInputSide, folder);
}

void PathOpener::SetFunction(Direction direction)
{
    if (model_.Setup().direction != direction) model_.PerformFunction();
}

void PathOpener::SetInPlace(bool inPlace)
{
    if (model_.Setup().inPlace != inPlace) model_.PerformOutputFilesSame();
}

void PathOpener::SetUpDecryption(const QString& name)
{
    SetFunction(Direction::Decrypt);
    const std::optional<QString> spec = DecryptionOutputSpec(name);
    SetInPlace(!spec.has_value());
    if (!spec) return;
    model_.Setup().fileSpecs[kOutputSide] = *spec;
    model_.ShowFilesStatus(kOutputSide);
}

void PathOpener::SetUpEncryption(const QString& name)
{
    SetFunction(Direction::Encrypt);
    // Files written in place keep their names; the setup's choice stands.
    const QString spec = EncryptionOutputSpec(name);
    if (model_.Setup().inPlace || spec.isEmpty()) return;
    model_.Setup().fileSpecs[kOutputSide] = spec;
    model_.ShowFilesStatus(kOutputSide);
}

}  // namespace kyv
