#include "cli/VerifyCommand.h"

#include <filesystem>
#include <system_error>

#include "cli/AuthenticationKey.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/recovery/FileVerifier.h"

namespace kyv::cli {

int RunVerifyCommand(const CommandLine& line, Session& session)
{
    if (line.spec.contains(QLatin1Char('/')))
        return UsageError(
            session.output,
            QStringLiteral("A file specification names files within the folder and holds no '/'."));
    const VerifyRequest request{FolderArgument(line.folder), line.spec, line.subfolders};
    std::error_code error;
    if (!std::filesystem::is_directory(request.folder, error)) {
        session.prompter.Tell(
            QStringLiteral("The folder ") + request.folder.Display() + QStringLiteral(" does not exist."),
            QStringLiteral("Error"), MessageIcon::Exclamation);
        return kExitRefused;
    }
    AuthenticationKey key;
    switch (key.Acquire(line, session)) {
        case KeyAcquired::Yes:
            break;
        case KeyAcquired::No:
            return kExitRefused;
        case KeyAcquired::Interrupted:
            return kExitIncomplete;
    }
    bool written = true;
    const VerifyRun run = VerifyFiles(
        request, key.Authenticator(),
        [&](const VerifiedFile& file) {
            session.output.ClearProgress();
            written = session.output.WriteReportLine(VerifiedFileLine(file)) && written;
        },
        [] { return InterruptRequested(); });
    for (const QString& summaryLine : VerifySummary(run).split(QLatin1Char('\n')))
        written = session.output.WriteReportLine(summaryLine) && written;
    return run.AllAuthentic() && written ? kExitDone : kExitIncomplete;
}

}  // namespace kyv::cli
