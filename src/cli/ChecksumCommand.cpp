#include "cli/ChecksumCommand.h"

#include <unistd.h>

#include "cli/ExitStatus.h"
#include "cli/KeyAcquisition.h"
#include "cli/Session.h"
#include "core/keys/KeyState.h"

namespace kyv::cli {

int RunChecksumCommand(const CommandLine& line, Session& session)
{
    KeyState key;
    const KeyAcquired acquired = AcquireKey(line, key, session.output, session.prompter);
    const int checksum = key.checksum;
    EraseKeyData(key);
    if (acquired == KeyAcquired::Interrupted) return kExitIncomplete;
    if (acquired == KeyAcquired::No) return kExitRefused;
    return WriteAll(STDOUT_FILENO, QByteArray::number(checksum) + '\n') ? kExitDone : kExitIncomplete;
}

}  // namespace kyv::cli
