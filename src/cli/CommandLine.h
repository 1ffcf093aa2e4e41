#pragma once
// What the user asked of `kyv`, read from its arguments. A key is never among them.

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/FilePath.h"

namespace kyv::cli {

enum class Command { Help, Version, Encrypt, Decrypt, Randomness, Checksum, Run, Show, Verify, Recover };
enum class KeyInput { None, File, StandardInput };

struct CommandLine {
    Command command = Command::Help;
    bool subfolders = false;
    bool inPlace = false;
    bool yes = false;
    bool apply = false;                   // recover: finish the interrupted steps
    std::optional<QString> outputFolder;  // --to
    std::optional<QString> outputSpec;    // --as
    std::optional<platform::FilePath> picture;  // randomness --picture: the PNG file to write
    KeyInput keyInput = KeyInput::None;
    QString keyFile;
    QString folder;
    QString spec = QStringLiteral("*.*");
    platform::FilePath setupFile;  // run and show: the operation file (*.opn) saved by the program
};

struct ParsedCommandLine {
    std::optional<CommandLine> line;
    QString error;  // why the arguments were refused, when they were
};

// `arguments` without the program's name.
[[nodiscard]] ParsedCommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace kyv::cli
