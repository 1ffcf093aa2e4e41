#include "core/operation/PurgeAdvice.h"

#include "core/common/Clock.h"
#include "core/common/DirectionWord.h"
#include "core/files/FolderPath.h"
#include "core/operation/RunState.h"

namespace kyv {

QString PurgeAdviceText(const QString& path, bool encrypting)
{
    const QString paragraphEnd = QStringLiteral("\r\n\r\n");
    return QStringLiteral("The file ") + DisplayName(path) + QStringLiteral(" has been ") +
           DirectionWord(encrypting, QStringLiteral("encrypted")) + QLatin1Char('.') + paragraphEnd +
           QStringLiteral(
               "The file in its original form will now be purged "
               "(overwritten and deleted).  If Norton AntiVirus Auto-Protect (or a similar "
               "utility) is active then it may produce a warning message "
               "(once for each plaintext file which is purged).  "
               "If so, do not stop the operation but rather allow it to continue.") +
           paragraphEnd +
           QStringLiteral(
               "It is better to disable your antivirus software either before "
               "running Kyv Cipher or during a run (like now).") +
           paragraphEnd +
           QStringLiteral(
               "For more secure purging of files (including the free space of a disk, where "
               "deleted files leave their traces), use a dedicated file-purging program.\r\n"
               "Look for one that overwrites data several times and also cleans free space.");
}

void PurgeAdvice::ShowPurgeAdvice(const QString& path, bool encrypting, RunState& state, const Clock& clock)
{
    if (!showPurgeWarning || dialogs_ == nullptr) return;
    const QDateTime start = clock.Now();
    if (dialogs_->AskAntivirusQuery() == AntivirusAnswer::No) {
        showPurgeWarning = false;
    } else {
        const bool dontShowAgain = dialogs_->ShowPurgeWarning(path, encrypting);
        showPurgeWarning = !dontShowAgain;
    }
    state.pausedSeconds += static_cast<double>(start.msecsTo(clock.Now())) / 1000.0;
}

}  // namespace kyv
