#include "cli/RecoverCommand.h"

#include <filesystem>
#include <system_error>

#include "cli/AuthenticationKey.h"
#include "cli/ExitStatus.h"
#include "cli/Session.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/recovery/LeftoverRecovery.h"
#include "core/recovery/RecoveryText.h"

namespace kyv::cli {

int RunRecoverCommand(const CommandLine& line, Session& session)
{
    const FilePath folderPath = FolderArgument(line.folder);
    std::error_code error;
    if (!std::filesystem::is_directory(folderPath, error)) {
        session.prompter.Tell(
            QStringLiteral("The folder ") + folderPath.Display() + QStringLiteral(" does not exist."),
            QStringLiteral("Error"), MessageIcon::Exclamation);
        return kExitRefused;
    }
    RecoveryOptions options;
    options.subfolders = line.subfolders;
    options.apply = line.apply;
    // Without a key, results are recognised by their structure; with one, authenticated too.
    AuthenticationKey key;
    if (line.keyInput != KeyInput::None) {
        switch (key.Acquire(line, session)) {
            case KeyAcquired::Yes:
                options.authenticator = &key.Authenticator();
                break;
            case KeyAcquired::No:
                return kExitRefused;
            case KeyAcquired::Interrupted:
                return kExitIncomplete;
        }
    }
    const RecoveryResult result = RecoverLeftovers(folderPath, options);
    bool written = true;
    for (const QString& reportLine : RecoveryReportLines(result, line.apply))
        written = session.output.WriteReportLine(reportLine) && written;
    return result.NeedsAttention() || !written ? kExitIncomplete : kExitDone;
}

}  // namespace kyv::cli
