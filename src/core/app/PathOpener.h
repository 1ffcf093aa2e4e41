#pragma once
// Paths dropped on the main window, or named on the program's command line, applied to the setup
// through the commands a person would use: one file as "Single file", one folder as "Input folder"
// (the input file specification stays), several files of one folder as "Input folder" and then
// "Input file(s)" with their shared extension. Afterwards the status lines show the setup as
// after those commands.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/common/OperationSetup.h"

namespace kyv {

class FileSpecCommands;
class MainWindowModel;
struct DropPlan;

// The function the program is asked to start with: as the setup says, or one named on the command
// line (the file manager's "Encrypt with" and "Decrypt with").
enum class StartFunction { AsSetup, Encrypt, Decrypt };

// The output specification that decrypts the encrypted file `name` into the same folder: "*" for
// a name ending in ".enc" (any case) with something before it, which drops that extension, so
// "report.doc.enc" gives "report.doc" and "report.enc" "report"; none for any other name, which
// was most likely encrypted in place and is decrypted in place.
[[nodiscard]] std::optional<QString> DecryptionOutputSpec(const QString& name);

// The output specification that encrypts the file `name` into the same folder so that
// DecryptionOutputSpec gives its name back: the name with ".enc" appended.
[[nodiscard]] QString EncryptionOutputSpec(const QString& name);

class PathOpener {
public:
    PathOpener(MainWindowModel& model, FileSpecCommands& commands) : model_(model), commands_(commands) {}

    // Absolute paths dropped on the window; false when the setup stayed as it was (a message, or
    // an answer, said why).
    bool Drop(const std::vector<platform::FilePath>& paths);

    // The program's arguments, once start-up has read the next-run setup: relative paths are taken
    // from the current folder and applied as a drop. One file that has the encrypted format's
    // shape (or any file, with Decrypt) is then set up for decryption into its own folder; with
    // Encrypt, one file is set up for encryption into the name that decryption gives back.
    bool Open(const QStringList& arguments, StartFunction function);

private:
    bool Apply(const DropPlan& plan);
    bool ApplyInputFolder(const platform::FilePath& folder);
    void SetFunction(Direction direction);
    void SetInPlace(bool inPlace);
    void SetUpDecryption(const QString& name);
    void SetUpEncryption(const QString& name);

    MainWindowModel& model_;
    FileSpecCommands& commands_;
};

}  // namespace kyv
