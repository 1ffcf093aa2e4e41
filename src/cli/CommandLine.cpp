#include "cli/CommandLine.h"

#include <algorithm>
#include <array>

#include "cli/VerbTable.h"

namespace kyv::cli {

namespace {

struct OptionEntry {
    const char* name;
    Option option;
    bool takesValue;  // as "--to FOLDER" or "--to=FOLDER"
};

constexpr std::array<OptionEntry, 9> kOptions = {{
    {"--subfolders", Option::Subfolders, false},
    {"--in-place", Option::InPlace, false},
    {"--yes", Option::Yes, false},
    {"--apply", Option::Apply, false},
    {"--key-stdin", Option::Key, false},
    {"--key-file", Option::Key, true},
    {"--to", Option::To, true},
    {"--as", Option::As, true},
    {"--picture", Option::Picture, true},
}};

const OptionEntry* OptionNamed(const QString& name)
{
    const auto found = std::find_if(kOptions.begin(), kOptions.end(), [&name](const OptionEntry& entry) {
        return name == QLatin1String(entry.name);
    });
    return found == kOptions.end() ? nullptr : &*found;
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
    void Record(const OptionEntry& entry, const QString& value);
    // The options given against what the verb takes, then the operands.
    bool Check(const VerbEntry& verb);
    bool CheckOperands(const VerbEntry& verb);

    const QStringList& arguments_;
    CommandLine line_;
    OptionSet given_;
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
    if (NamesKeyText(argument))
        return Fail(QStringLiteral(
            "A key is never taken from the command line: use --key-file FILE or --key-stdin."));
    const QString name = argument.section(QLatin1Char('='), 0, 0);
    const OptionEntry* entry = OptionNamed(name);
    if (entry == nullptr) return Fail(QStringLiteral("Unknown option ") + argument + QLatin1Char('.'));
    const bool isKey = entry->option == Option::Key;
    if (!entry->takesValue && argument.contains(QLatin1Char('=')))
        return Fail(name + QStringLiteral(" takes no value."));
    // A flag may be repeated; a value given twice would leave one of them unused.
    if (entry->takesValue && !isKey && given_.Has(entry->option))
        return Fail(name + QStringLiteral(" is given twice."));
    QString value;
    if (entry->takesValue && !TakeValue(argument, name, index, value)) return false;
    if (isKey && given_.Has(Option::Key))
        return Fail(QStringLiteral("Give one key: --key-file FILE or --key-stdin."));
    if (isKey && entry->takesValue && value.isEmpty())
        return Fail(name + QStringLiteral(" needs a file name."));
    given_.Add(entry->option);
    Record(*entry, value);
    return true;
}

void Parser::Record(const OptionEntry& entry, const QString& value)
{
    switch (entry.option) {
        case Option::Subfolders:
            line_.subfolders = true;
            break;
        case Option::InPlace:
            line_.inPlace = true;
            break;
        case Option::Yes:
            line_.yes = true;
            break;
        case Option::Apply:
            line_.apply = true;
            break;
        case Option::Key:
            line_.keyInput = entry.takesValue ? KeyInput::File : KeyInput::StandardInput;
            line_.keyFile = value;
            break;
        case Option::To:
            line_.outputFolder = value;
            break;
        case Option::As:
            line_.outputSpec = value;
            break;
        case Option::Picture:
            line_.picture = platform::FilePath(value);
            break;
    }
}

bool Parser::Check(const VerbEntry& verb)
{
    using enum Option;
    const QString name = QLatin1String(verb.name);
    const OptionSet refused = given_.Without(verb.Accepted());
    if (verb.operands == Operands::SetupFile && refused.HasAny({Subfolders, InPlace, To, As}))
        return Fail(
            QStringLiteral("The setup file says which files and how: no --subfolders, --in-place, --to "
                           "or --as."));
    if (refused.HasAny({InPlace, To, As, Yes}))
        return Fail(
            QStringLiteral("--in-place, --to, --as and --yes belong to encrypt and decrypt (--yes to "
                           "run too)."));
    if (refused.Has(Subfolders)) return Fail(QStringLiteral("--subfolders does not belong to ") + name + '.');
    if (refused.Has(Apply)) return Fail(QStringLiteral("--apply belongs to recover."));
    if (refused.Has(Key)) return Fail(name + QStringLiteral(" takes no key."));
    if (verb.key == KeyUse::Required && !given_.Has(Key))
        return Fail(QStringLiteral("Give the key with --key-file FILE or --key-stdin."));
    // A verb that writes output files is told where they go, one way.
    if (verb.options.Has(InPlace)) {
        if (given_.Has(InPlace) && given_.HasAny({To, As}))
            return Fail(
                QStringLiteral("--in-place writes each output file over its input file: no --to or --as."));
        if (!given_.HasAny({InPlace, As}))
            return Fail(
                QStringLiteral("Say where the output goes: --in-place, or --as SPEC (with --to FOLDER)."));
    }
    return CheckOperands(verb);
}

bool Parser::CheckOperands(const VerbEntry& verb)
{
    const QString name = QLatin1String(verb.name);
    if (verb.operands == Operands::None && !positional_.isEmpty())
        return Fail(name + QStringLiteral(" takes no folder."));
    if (given_.Has(Option::Picture)) {
        if (!verb.Accepted().Has(Option::Picture))
            return Fail(QStringLiteral("--picture belongs to randomness."));
        if (given_.Has(Option::Subfolders))
            return Fail(QStringLiteral("--picture draws one file: no --subfolders."));
        if (positional_.size() != 1) return Fail(QStringLiteral("--picture draws one file: name it."));
        line_.folder = positional_.at(0);
        return true;
    }
    switch (verb.operands) {
        case Operands::None:
            return true;
        case Operands::SetupFile:
            if (positional_.size() != 1) return Fail(QStringLiteral("Name one setup file (*.opn)."));
            line_.setupFile = platform::FilePath(positional_.at(0));
            return true;
        case Operands::Folder:
        case Operands::FolderAndSpec:
            break;
    }
    if (positional_.isEmpty()) return Fail(QStringLiteral("Name the folder."));
    if (verb.operands == Operands::Folder && positional_.size() > 1)
        return Fail(name + QStringLiteral(" takes a folder and no file specification."));
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
    if (arguments_.isEmpty()) return {std::nullopt, QStringLiteral("Name a command: ") + VerbNames() + u'.'};
    const VerbEntry* verb = VerbNamed(arguments_.at(0));
    if (verb == nullptr)
        return {std::nullopt, QStringLiteral("Unknown command ") + arguments_.at(0) + QLatin1Char('.')};
    line_.command = verb->command;

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
    if (!Check(*verb)) return {std::nullopt, error_};
    return {line_, {}};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) { return Parser(arguments).Parse(); }

}  // namespace kyv::cli
