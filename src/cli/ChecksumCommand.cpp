#include "cli/ChecksumCommand.h"

#include <unistd.h>

#include "cli/ExitStatus.h"
#include "cli/KeyAcquisition.h"
#include "cli/Session.h"
#include "core/keys/KeyState.h"
#include "core/keys/KeyStrength.h"
#include "core/keys/KeyStrengthText.h"

namespace kyv::cli {

int RunChecksumCommand(const CommandLine& line, Session& session)
{
    KeyState key;
    const KeyAcquired acquired = AcquireKey(line, key, session.output, session.prompter);
    const int checksum = key.checksum;
    const std::optional<KeyStrength> strength =
        acquired == KeyAcquired::Yes ? InstalledKeyStrength(key) : std::nullopt;
    EraseKeyData(key);
    if (acquired == KeyAcquired::Interrupted) return kExitIncomplete;
    if (acquired == KeyAcquired::No) return kExitRefused;
    // The checksum stays alone on standard output for scripts; the strength is a message.
    if (strength) session.output.WriteMessage(KeyStrengthLine(*strength));
    return WriteAll(STDOUT_FILENO, QByteArray::number(checksum) + '\n') ? kExitDone : kExitIncomplete;
}

}  // namespace kyv::cli
