#pragma once
// "Get key from keyfile" and "Create random key": choosing the keyfile, the offers to create or
// overwrite it, the random key and its acceptance test, reading an existing keyfile, the offer to
// inspect the key, writing a created keyfile once its key is accepted, and the key that results.
// The windows only ask; every decision is here.

#include <QString>

#include "core/keys/KeyCommands.h"
#include "platform/FilePath.h"

namespace kyv {

class FileDialogs;
class KeyInspector;
class Prompter;
class RandomKeySource;
struct KeyState;

// How a keyfile command ended; the key line follows from the key record.
enum class KeyfileOutcome {
    Abandoned,  // dialog cancelled, creation or overwrite refused: nothing changed
    CreationCancelled,
    Unsuitable,
    Declined,      // the key was declined in the inspection window
    KeyfileError,  // reading or writing the keyfile failed
    Accepted,
};

struct KeyfileCommandServices {
    KeyState& key;
    Prompter& prompter;
    FileDialogs& fileDialogs;
    KeyInspector& inspector;
    RandomKeySource& randomKeys;
};

class KeyFromKeyfileCommand {
public:
    explicit KeyFromKeyfileCommand(KeyfileCommandServices services) : services_(services) {}

    // Runs the command while the operation encrypts (`encrypting`) or decrypts. The dialog opens in
    // the folder of the keyfile last chosen, else in `workingFolder` (the setup's input folder).
    KeyfileOutcome Run(KeyfileCommand command, bool encrypting, const QString& workingFolder = QString());

    // "Get encryption key from keyfile" / "Get decryption key from keyfile"; "Specify new keyfile".
    [[nodiscard]] static QString DialogTitle(KeyfileCommand command, bool encrypting);

private:
    [[nodiscard]] bool GatherAcceptedRandomKey();
    KeyfileOutcome OfferInspection(const platform::FilePath& path, bool creating);
    KeyfileOutcome Install(const platform::FilePath& path, bool creating);
    KeyfileOutcome NoKey(KeyfileOutcome outcome);

    KeyfileCommandServices services_;
};

}  // namespace kyv
