#include "cli/CommandLine.h"

namespace kyv::cli {

namespace {

bool IsOperation(Command command) { return command == Command::Encrypt || command == Command::Decrypt; }

bool TakesSetupFile(Command command) { return command == Command::Run || command == Command::Show; }

bool TakesKey(Command command)
{
    return IsOperation(command) || command == Command::Checksum || command == Command::Run ||
           command == Command::Verify;
}

std::optional<Command> CommandNamed(const QString& name)
{
    if (name == QLatin1String("encrypt")) return Command::Encrypt;
    if (name == QLatin1String("decrypt")) return Command::Decrypt;
    if (name == QLatin1String("randomness")) return Command::Randomness;
    if (name == QLatin1String("checksum")) return Command::Checksum;
    if (name == QLatin1String("run")) return Command::Run;
    if (name == QLatin1String("show")) return Command::Show;
    if (name == QLatin1String("recover")) return Command::Recover;
    if (name == QLatin1String("verify")) return Command::Verify;
    return std::nullopt;
}

// Whether an option would put key material on the command line, where every user of the system
// can read it.
bool NamesKeyText(const QString& option)
{
    const QString name = option.section(QLatin1Char('='), 0, 0);
    return name == QLatin1String("--key") || name == QLatin1String("-k") ||
           name == QLatin1String("--password") || name == QLatin1String("--passphrase");
}

class Parser {
public:
    explicit Parser(const QStringList& arguments) : arguments_(arguments) {}

    ParsedCommandLine Parse();

private:
    bool Fail(const QString& error)
    {
        if (error_.isEmpty()) error_ = error;
        return false;
    }
    // The value of an option given as "--to FOLDER" or "--to=FOLDER".
    bool TakeValue(const QString& argument, const QString& name, qsizetype& index, QString& value);
    bool ReadOption(const QString& argument, qsizetype& index);
    bool Check();

    const QStringList& arguments_;
    CommandLine line_;
    QStringList positional_;
    QString error_;
};

bool Parser::TakeValue(const QString& argument, const QString& name, qsizetype& index, QString& value)
{
    if (argument.startsWith(name + QLatin1Char('='))) {
        value = argument.mid(name.size() + 1);
        return true;
    }
    if (index + 1 >= arguments_.size()) return Fail(name + QStringLiteral(" needs a value."));
    value = arguments_.at(++index);
    return true;
}

bool Parser::ReadOption(const QString& argument, qsizetype& index)
{
    const QString name = argument.section(QLatin1Char('='), 0, 0);
    const bool hasValue = argument.contains(QLatin1Char('='));
    const auto flag = [&](bool& target) {
        if (hasValue) return Fail(name + QStringLiteral(" takes no value."));
        target = true;
        return true;
    };
    if (NamesKeyText(argument))
        return Fail(QStringLiteral(
            "A key is never taken from the command line: use --key-file FILE or --key-stdin."));
    if (name == QLatin1String("--subfolders")) return flag(line_.subfolders);
    if (name == QLatin1String("--in-place")) return flag(line_.inPlace);
    if (name == QLatin1String("--yes")) return flag(line_.yes);
    if (name == QLatin1String("--apply")) return flag(line_.apply);
    if (name == QLatin1String("--key-stdin")) {
        bool stdinKey = false;
        if (!flag(stdinKey)) return false;
        if (line_.keyInput != KeyInput::None)
            return Fail(QStringLiteral("Give one key: --key-file FILE or --key-stdin."));
        line_.keyInput = KeyInput::StandardInput;
        return true;
    }
    QString value;
    if (name == QLatin1String("--key-file")) {
        if (!TakeValue(argument, name, index, value)) return false;
        if (line_.keyInput != KeyInput::None)
            return Fail(QStringLiteral("Give one key: --key-file FILE or --key-stdin."));
        if (value.isEmpty()) return Fail(QStringLiteral("--key-file needs a file name."));
        line_.keyInput = KeyInput::File;
        line_.keyFile = value;
        return true;
    }
    if (name == QLatin1String("--to") || name == QLatin1String("--as")) {
        std::optional<QString>& target =
            name == QLatin1String("--to") ? line_.outputFolder : line_.outputSpec;
        if (target) return Fail(name + QStringLiteral(" is given twice."));
        if (!TakeValue(argument, name, index, value)) return false;
        target = value;
        return true;
    }
    if (name == QLatin1String("--picture")) {
        if (line_.picture) return Fail(name + QStringLiteral(" is given twice."));
        if (!TakeValue(argument, name, index, value)) return false;
        line_.picture = value;
        return true;
    }
    return Fail(QStringLiteral("Unknown option ") + argument + QLatin1Char('.'));
}

bool Parser::Check()
{
    const Command command = line_.command;
    const bool operation = IsOperation(command);
    if (TakesSetupFile(command) &&
        (line_.subfolders || line_.inPlace || line_.outputFolder || line_.outputSpec))
        return Fail(
            QStringLiteral("The setup file says which files and how: no --subfolders, --in-place, --to "
                           "or --as."));
    const bool answersQuestions = operation || command == Command::Run;
    if ((!operation && (line_.inPlace || line_.outputFolder || line_.outputSpec)) ||
        (!answersQuestions && line_.yes))
        return Fail(
            QStringLiteral("--in-place, --to, --as and --yes belong to encrypt and decrypt (--yes to "
                           "run too)."));
    if (command == Command::Checksum && line_.subfolders)
        return Fail(QStringLiteral("--subfolders does not belong to checksum."));
    if (command != Command::Recover && line_.apply)
        return Fail(QStringLiteral("--apply belongs to recover."));
    // recover takes a key when one is given, to authenticate the results it renames.
    if (!TakesKey(command) && command != Command::Recover && line_.keyInput != KeyInput::None)
        return Fail(arguments_.at(0) + QStringLiteral(" takes no key."));
    if (TakesKey(command) && line_.keyInput == KeyInput::None)
        return Fail(QStringLiteral("Give the key with --key-file FILE or --key-stdin."));
    if (operation) {
        if (line_.inPlace && (line_.outputFolder || line_.outputSpec))
            return Fail(
                QStringLiteral("--in-place writes each output file over its input file: no --to or --as."));
        if (!line_.inPlace && !line_.outputSpec)
            return Fail(
                QStringLiteral("Say where the output goes: --in-place, or --as SPEC (with --to FOLDER)."));
    }
    if (command == Command::Checksum) {
        if (!positional_.isEmpty()) return Fail(QStringLiteral("checksum takes no folder."));
        return true;
    }
    if (line_.picture) {
        if (command != Command::Randomness) return Fail(QStringLiteral("--picture belongs to randomness."));
        if (line_.subfolders) return Fail(QStringLiteral("--picture draws one file: no --subfolders."));
        if (positional_.size() != 1) return Fail(QStringLiteral("--picture draws one file: name it."));
        line_.folder = positional_.at(0);
        return true;
    }
    if (TakesSetupFile(command)) {
        if (positional_.size() != 1) return Fail(QStringLiteral("Name one setup file (*.opn)."));
        line_.setupFile = positional_.at(0);
        return true;
    }
    if (positional_.isEmpty()) return Fail(QStringLiteral("Name the folder."));
    if (command == Command::Recover && positional_.size() > 1)
        return Fail(QStringLiteral("recover takes a folder and no file specification."));
    if (positional_.size() > 2)
        return Fail(QStringLiteral("Too many arguments: a folder and one file specification at most."));
    line_.folder = positional_.at(0);
    if (positional_.size() == 2) line_.spec = positional_.at(1);
    return true;
}

ParsedCommandLine Parser::Parse()
{
    // Help and version win over everything else, wherever they stand.
    for (const QString& argument : arguments_) {
        if (argument == QLatin1String("--")) break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line_.command = Command::Help;
            return {line_, {}};
        }
        if (argument == QLatin1String("--version")) {
            line_.command = Command::Version;
            return {line_, {}};
        }
    }
    if (arguments_.isEmpty())
        return {std::nullopt,
                QStringLiteral("Name a command: encrypt, decrypt, run, show, randomness, checksum, verify or "
                               "recover.")};
    const std::optional<Command> command = CommandNamed(arguments_.at(0));
    if (!command)
        return {std::nullopt, QStringLiteral("Unknown command ") + arguments_.at(0) + QLatin1Char('.')};
    line_.command = *command;

    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments_.size(); ++i) {
        const QString& argument = arguments_.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (!ReadOption(argument, i)) return {std::nullopt, error_};
        } else {
            positional_.append(argument);
        }
    }
    if (!Check()) return {std::nullopt, error_};
    return {line_, {}};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) { return Parser(arguments).Parse(); }

}  // namespace kyv::cli
