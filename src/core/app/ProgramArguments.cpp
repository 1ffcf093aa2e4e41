#include "core/app/ProgramArguments.h"

namespace kyv {

ProgramArguments ParseProgramArguments(const QStringList& arguments)
{
    ProgramArguments parsed;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            parsed.paths.append(argument);
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == QStringLiteral("--encrypt")) {
            parsed.function = StartFunction::Encrypt;
        } else if (argument == QStringLiteral("--decrypt")) {
            parsed.function = StartFunction::Decrypt;
        } else if (argument != QStringLiteral("--quit-when-shown")) {
            parsed.unknownOptions.append(argument);
        }
    }
    return parsed;
}

}  // namespace kyv
