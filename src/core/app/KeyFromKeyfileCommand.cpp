#include "core/app/KeyFromKeyfileCommand.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "core/app/DialogStartFolders.h"
#include "core/app/ShortenPath.h"
#include "core/common/DirectionWord.h"
#include "core/common/FileDialogs.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyNormalization.h"
#include "core/keys/KeyState.h"
#include "core/keys/KeyfileReading.h"
#include "core/keys/RandomKeySource.h"
#include "core/keys/RandomKeyfileWriting.h"

namespace kyv {

namespace {

// Limits of the inspection question's title and of the inspection window's keyfile line.
constexpr int kQuestionTitleLength = 60;
constexpr int kKeyfileLineLength = 66;

bool Asks(Prompter& prompter, const QString& text, const QString& title)
{
    return prompter.Ask(Message{text, title, MessageButtons::YesNo, MessageIcon::Question, 1}) ==
           MessageAnswer::Yes;
}

// A created key passes when it has all 64 characters, gives a key, is not text and measures random.
bool RandomKeyAcceptable(const SecureBytes& bytes)
{
    return bytes.size() == kKeyfileKeyBytes && KeyfileBytesSuitable(bytes.View()) &&
           ClassifyKeyBytes(bytes.View()).apparentlyRandom;
}

QString ClassificationLine(const KeyState& key, bool creating)
{
    if (creating) return QStringLiteral("New random key in file");
    if (key.apparentlyRandom) return QStringLiteral("Apparently random key from file");
    if (key.isText) return QStringLiteral("Text key from file");
    return QStringLiteral("Non-random non-text key from file");
}

}  // namespace

QString KeyFromKeyfileCommand::DialogTitle(KeyfileCommand command, bool encrypting)
{
    if (command == KeyfileCommand::CreateRandomKey) return QStringLiteral("Specify new keyfile");
    return QStringLiteral("Get ") + DirectionWord(encrypting, QStringLiteral("encryption")) +
           QStringLiteral(" key from keyfile");
}

KeyfileOutcome KeyFromKeyfileCommand::Run(KeyfileCommand command, bool encrypting,
                                          const QString& workingFolder)
{
    KeyState& key = services_.key;
    // An open dialog in both commands that takes a new name too: the name of a keyfile to create.
    const std::optional<QString> chosen = services_.fileDialogs.OpenFile(FileDialogRequest{
        DialogTitle(command, encrypting), QStringLiteral("All files (*.*) | *.*"), QString(),
        KeyfileStartFolder(key.KeyfilePath(), workingFolder), OpenMode::NameMayBeNew});
    if (!chosen || chosen->isEmpty()) {
        // Nothing of the key record changes: the key line returns to its text from before.
        key.choiceAbandoned = true;
        return KeyfileOutcome::Abandoned;
    }
    // The full path, so that an operation recognises the keyfile among its input files.
    const FilePath path = FilePath(NormalizePathCase(QFileInfo(*chosen).absoluteFilePath()));

    bool creating = command == KeyfileCommand::CreateRandomKey;
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (!creating && !exists) {
        if (!Asks(services_.prompter,
                  QStringLiteral("Do you wish to create ") + path.Display() +
                      QStringLiteral(" as a new random keyfile?"),
                  QStringLiteral("Keyfile does not exist."))) {
            key.choiceAbandoned = true;
            return KeyfileOutcome::Abandoned;
        }
        creating = true;
    } else if (creating && exists) {
        if (!Asks(services_.prompter,
                  QStringLiteral("Overwrite existing file ") + path.Display() + QStringLiteral("?"),
                  QStringLiteral("File exists already."))) {
            key.choiceAbandoned = true;
            return KeyfileOutcome::Abandoned;
        }
    }
    // Only now does the record change: a refused creation or overwrite keeps the current key's
    // keyfile path, so that the file holding the current key stays protected from operations.
    key.choiceAbandoned = false;
    key.newRandomKey = false;
    key.rawKeyBytes = SecureBytes(kKeyfileKeyBytes);
    key.SetKeyfilePath(path);

    if (creating) {
        if (!GatherAcceptedRandomKey()) return NoKey(KeyfileOutcome::CreationCancelled);
        key.apparentlyRandom = true;
        key.isText = false;
    } else {
        switch (ReadKeyfile(key, path, services_.prompter)) {
            case KeyfileReadOutcome::Read:
                break;
            case KeyfileReadOutcome::Unsuitable:
                return NoKey(KeyfileOutcome::Unsuitable);
            case KeyfileReadOutcome::Failed:
                return NoKey(KeyfileOutcome::KeyfileError);
        }
    }
    return OfferInspection(path, creating);
}

bool KeyFromKeyfileCommand::GatherAcceptedRandomKey()
{
    KeyState& key = services_.key;
    for (;;) {
        key.rawKeyBytes = services_.randomKeys.GatherRandomKey();
        // A window closed early leaves fewer than 64 characters: rejected, never a shorter key.
        if (RandomKeyAcceptable(key.rawKeyBytes)) return true;
        const MessageAnswer answer = services_.prompter.Ask(
            Message{QStringLiteral("Attempt at creating random key unsuccessful.  Please repeat."),
                    QStringLiteral("Key not sufficiently random"), MessageButtons::RetryCancel,
                    MessageIcon::Exclamation, 1});
        if (answer != MessageAnswer::Retry) return false;
    }
}

KeyfileOutcome KeyFromKeyfileCommand::OfferInspection(const FilePath& path, bool creating)
{
    KeyState& key = services_.key;
    if (!Asks(services_.prompter, QStringLiteral("Inspect the key?"),
              ShortenPath(path.Display(), kQuestionTitleLength)))
        return Install(path, creating);
    KeyInspectionRequest request;
    request.classificationLine = ClassificationLine(key, creating);
    request.keyfileLine = ShortenPath(path.Display(), kKeyfileLineLength);
    request.newRandomKey = creating;
    request.placeInCorner = true;
    if (!services_.inspector.InspectKey(request)) {
        // A declined created key is never written: an existing file keeps its contents.
        return NoKey(KeyfileOutcome::Declined);
    }
    return Install(path, creating);
}

KeyfileOutcome KeyFromKeyfileCommand::Install(const FilePath& path, bool creating)
{
    KeyState& key = services_.key;
    if (creating) {
        QString errorText;
        if (!WriteRandomKeyfile(path, key.rawKeyBytes.View(), errorText)) {
            services_.prompter.Tell(errorText + QStringLiteral("\nThe new key could not be saved in ") +
                                        path.Display() + QStringLiteral(", so it is not in use."),
                                    QStringLiteral("Keyfile error"), MessageIcon::Error);
            return NoKey(KeyfileOutcome::KeyfileError);
        }
        key.newRandomKey = true;
    }
    InstallKeyfileKey(key);
    return KeyfileOutcome::Accepted;
}

KeyfileOutcome KeyFromKeyfileCommand::NoKey(KeyfileOutcome outcome)
{
    services_.key.source = NotSpecified;
    // Bytes of a key that is not used are wiped at once.
    services_.key.rawKeyBytes.Wipe();
    return outcome;
}

}  // namespace kyv
