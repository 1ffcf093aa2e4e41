#include "cli/Session.h"

#include <QDir>

#include "cli/ExitStatus.h"
#include "core/files/FolderPath.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv::cli {

Session::Session(bool progress, QuestionPolicy policy)
    : output(progress), prompter(output, policy), paths(RunningProgramPaths())
{
}

Session::~Session() = default;

const Services* Session::ServicesWithEngine()
{
    if (!services_) {
        engine_ = cipher::MakeCipherEngine();
        if (!engine_) return nullptr;
        services_.emplace(Services{clock, prompter, fileDialogs, freeSpace, paths, *engine_, floppies});
    }
    return &*services_;
}

FilePath FolderArgument(const QString& argument)
{
    if (argument.isEmpty()) return FilePath();
    return FilePath(QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(argument))))
        .AsFolder();
}

int UsageError(TerminalOutput& output, const QString& error)
{
    output.WriteMessage(QStringLiteral("kyv: ") + error + QStringLiteral("\nTry 'kyv --help'."));
    return kExitRefused;
}

}  // namespace kyv::cli
