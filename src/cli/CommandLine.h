#pragma once
// What the user asked of `kyv`, read from its arguments. A key is never among them.

#include <QString>
#include <QStringList>
#include <optional>

namespace kyv::cli {

enum class Command { Help, Version, Encrypt, Decrypt, Randomness, Checksum, Recover, Verify };
enum class KeyInput { None, File, StandardInput };

struct CommandLine {
    Command command = Command::Help;
    bool subfolders = false;
    bool inPlace = false;
    bool yes = false;
    bool apply = false;                   // recover: finish the interrupted steps
    std::optional<QString> outputFolder;  // --to
    std::optional<QString> outputSpec;    // --as
    KeyInput keyInput = KeyInput::None;
    QString keyFile;
    QString folder;
    QString spec = QStringLiteral("*.*");
};

struct ParsedCommandLine {
    std::optional<CommandLine> line;
    QString error;  // why the arguments were refused, when they were
};

// `arguments` without the program's name.
[[nodiscard]] ParsedCommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace kyv::cli
