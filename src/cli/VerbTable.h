#pragma once
// kyv's verb table: for each verb its name, the options it takes, whether it takes a key, what
// its operands are, whether Ctrl-C stops it, and the function that performs it. The table itself
// is in VerbTable.cpp, checked there at compile time; the command line is checked against it.

#include <QString>
#include <initializer_list>

#include "cli/CommandLine.h"

namespace kyv::cli {

struct Session;

// The options a verb may take; a key (--key-file or --key-stdin) is one of them.
enum class Option : unsigned char { Subfolders, InPlace, To, As, Yes, Apply, Key, Picture };

class OptionSet {
public:
    constexpr OptionSet() = default;
    constexpr OptionSet(std::initializer_list<Option> options)
    {
        for (const Option option : options) Add(option);
    }

    constexpr void Add(Option option) { bits_ |= Bit(option); }
    [[nodiscard]] constexpr bool Has(Option option) const { return (bits_ & Bit(option)) != 0; }
    [[nodiscard]] constexpr bool HasAny(OptionSet other) const { return (bits_ & other.bits_) != 0; }
    [[nodiscard]] constexpr OptionSet Without(OptionSet other) const
    {
        return OptionSet(bits_ & ~other.bits_);
    }

private:
    constexpr explicit OptionSet(unsigned bits) : bits_(bits) {}
    static constexpr unsigned Bit(Option option) { return 1U << static_cast<unsigned>(option); }

    unsigned bits_ = 0;
};

enum class KeyUse {
    None,      // a key is refused
    Optional,  // a key is used when one is given
    Required,  // the verb cannot work without one
};

enum class Operands {
    None,           // nothing after the options
    SetupFile,      // one operation file (*.opn)
    Folder,         // one folder
    FolderAndSpec,  // a folder and at most one file specification
};

struct VerbEntry {
    const char* name;
    Command command;
    // The options besides the key, which `key` says.
    OptionSet options;
    KeyUse key;
    Operands operands;
    // Whether Ctrl-C asks the verb to stop (a verb without it ends at once).
    bool stopsOnInterrupt;
    // Performs the verb; the exit status.
    int (*perform)(const CommandLine& line, Session& session);

    [[nodiscard]] constexpr OptionSet Accepted() const
    {
        OptionSet accepted = options;
        if (key != KeyUse::None) accepted.Add(Option::Key);
        return accepted;
    }
};

// The verb of that name; null when there is none.
[[nodiscard]] const VerbEntry* VerbNamed(const QString& name);
// The entry of a verb (every command but Help and Version).
[[nodiscard]] const VerbEntry& EntryOf(Command command);
// "encrypt, decrypt, ... or recover", in the table's order.
[[nodiscard]] QString VerbNames();

}  // namespace kyv::cli
