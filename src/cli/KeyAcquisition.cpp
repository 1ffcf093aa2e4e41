#include "cli/KeyAcquisition.h"

#include <QFileInfo>

#include "cli/TypedKeyReader.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyState.h"
#include "core/keys/KeyfileReading.h"
#include "core/keys/TypedKeyEntry.h"

namespace kyv::cli {

KeyAcquired AcquireKey(const CommandLine& line, KeyState& key, TerminalOutput& output, Prompter& prompter)
{
    if (line.keyInput == KeyInput::File) {
        // The keyfile by its full path, so that it is recognised among the input files. A pipe named
        // on the command line is meant (`--key-file <(...)`); a device never is.
        const FilePath path = FilePath(NormalizePathCase(QFileInfo(line.keyFile).absoluteFilePath()));
        if (ReadKeyfile(key, path, prompter, KeyfileKinds::RegularFileOrPipe) != KeyfileReadOutcome::Read)
            return KeyAcquired::No;
        InstallKeyfileKey(key);
        return KeyAcquired::Yes;
    }
    TypedKeyResult typed;
    const KeyTextStatus status =
        ReadTypedKey(output, line.command == Command::Encrypt || line.command == Command::Checksum,
                     line.command == Command::Encrypt, typed.text);
    if (status == KeyTextStatus::Interrupted) return KeyAcquired::Interrupted;
    if (status != KeyTextStatus::Read) {
        prompter.Tell(KeyTextMessage(status), QStringLiteral("Error"), MessageIcon::Exclamation);
        return KeyAcquired::No;
    }
    typed.answer = TypedKeyAnswer::Yes;
    ApplyTypedKey(key, typed);
    return KeyAcquired::Yes;
}

}  // namespace kyv::cli
