#include "cli/VerbTable.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/ChecksumCommand.h"
#include "cli/OperationCommand.h"
#include "cli/RandomnessCommand.h"
#include "cli/RecoverCommand.h"
#include "cli/SetupCommands.h"
#include "cli/VerifyCommand.h"

namespace kyv::cli {

namespace {

using enum Option;

constexpr OptionSet kOperationOptions = {Subfolders, InPlace, To, As, Yes};

// In the order the usage error that asks for a verb names them.
constexpr std::array<VerbEntry, 8> kVerbs = {{
    {"encrypt", Command::Encrypt, kOperationOptions, KeyUse::Required, Operands::FolderAndSpec, true,
     &RunOperationCommand},
    {"decrypt", Command::Decrypt, kOperationOptions, KeyUse::Required, Operands::FolderAndSpec, true,
     &RunOperationCommand},
    {"run", Command::Run, {Yes}, KeyUse::Required, Operands::SetupFile, true, &RunSetupCommand},
    {"show", Command::Show, {}, KeyUse::None, Operands::SetupFile, false, &ShowSetupCommand},
    {"randomness",
     Command::Randomness,
     {Subfolders, Picture},
     KeyUse::None,
     Operands::FolderAndSpec,
     true,
     &RunRandomnessCommand},
    {"checksum", Command::Checksum, {}, KeyUse::Required, Operands::None, true, &RunChecksumCommand},
    {"verify",
     Command::Verify,
     {Subfolders},
     KeyUse::Required,
     Operands::FolderAndSpec,
     true,
     &RunVerifyCommand},
    // A key, when given, authenticates the results recover renames.
    {"recover",
     Command::Recover,
     {Subfolders, Apply},
     KeyUse::Optional,
     Operands::Folder,
     false,
     &RunRecoverCommand},
}};

// Every command but Help and Version has exactly one entry, with a name no other entry has. (Whether
// each entry's function is set is left to the tests that run every verb: a sanitizer build cannot
// compare a function's address at compile time.)
constexpr bool TableComplete()
{
    for (const Command command : {Command::Encrypt, Command::Decrypt, Command::Randomness, Command::Checksum,
                                  Command::Run, Command::Show, Command::Verify, Command::Recover}) {
        if (std::count_if(kVerbs.begin(), kVerbs.end(),
                          [command](const VerbEntry& entry) { return entry.command == command; }) != 1)
            return false;
    }
    for (const VerbEntry& entry : kVerbs) {
        if (entry.command == Command::Help || entry.command == Command::Version || entry.name == nullptr)
            return false;
        if (std::count_if(kVerbs.begin(), kVerbs.end(), [&entry](const VerbEntry& other) {
                return std::string_view(other.name) == entry.name;
            }) != 1)
            return false;
    }
    return true;
}
static_assert(TableComplete(), "each verb needs one entry, with its own name");

}  // namespace

const VerbEntry* VerbNamed(const QString& name)
{
    const auto found = std::find_if(kVerbs.begin(), kVerbs.end(), [&name](const VerbEntry& entry) {
        return name == QLatin1String(entry.name);
    });
    return found == kVerbs.end() ? nullptr : &*found;
}

const VerbEntry& EntryOf(Command command)
{
    return *std::find_if(kVerbs.begin(), kVerbs.end(),
                         [command](const VerbEntry& entry) { return entry.command == command; });
}

QString VerbNames()
{
    QString names;
    for (std::size_t row = 0; row < kVerbs.size(); ++row) {
        if (row > 0) names += row + 1 == kVerbs.size() ? QStringLiteral(" or ") : QStringLiteral(", ");
        names += QLatin1String(kVerbs[row].name);
    }
    return names;
}

}  // namespace kyv::cli
