#pragma once
// One file an interrupted run left behind, as the recovery scan found it: what it is, which file
// it belongs to, and what finishing the interrupted step does with it.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/FileIdentity.h"

namespace kyv {

struct Leftover {
    enum class Kind {
        Reservation,           // the empty file reserved for an in-place result; the original is intact
        WorkingFile,           // an unfinished output (`.kyvpart-`); its input was never touched
        ResultBesideOriginal,  // a complete encrypted result, and the original still under its name
        OrphanResult,          // a complete encrypted result whose original is gone
        DecryptedResult,       // a decrypted result whose encrypted original is being purged
        UnprovenResult,        // may be a decrypted result of a vanished original; nothing shows it
        UnauthenticResult,     // shaped like an encrypted result, but the key does not open it
        AmbiguousResult,       // a result that could belong to more than one name
        CutNameResult,         // a result whose original is gone and whose name was cut to fit
        HalfPurged,            // an original caught in its purge (its record says so), whose data is in
                               // its result
        EmptyHidden,           // an original its purge had emptied (its record says so)
        UnknownHidden,         // a purge's kind of name, but no result here holds its data
        AmbiguousHidden,       // a purge's kind of name that length alone pairs with more than one file
        UnrecordedHidden,      // a purge's kind of name, empty or of the length of one original whose
                               // result is here, but with no record that it is one: maybe a file of the
                               // user's
    };
    enum class Action {
        Remove,  // holds nothing that is not elsewhere: deleted
        Rename,  // takes the name of its original
        Purge,   // overwritten and deleted, as the run would have
        Leave,   // could be the only copy of something: left for the user
    };

    Kind kind = Kind::UnknownHidden;
    Action action = Action::Leave;
    std::filesystem::path path;
    // The file it belongs to: the original (for results, reservations and hidden originals) or
    // the output a working file was to become.
    std::filesystem::path related;
    // The result that holds a hidden original's data, and how it was seen when it already has its
    // original's name (a recover that was cut short had renamed it).
    std::filesystem::path result;
    bool resultInPlace = false;
    platform::FileIdentity resultSeen;
    // The files an ambiguous hidden original could go with.
    std::vector<std::filesystem::path> candidates;
    // As the scan saw it: a file changed since is left alone.
    platform::FileIdentity seen;
    // Opened with the key given (rather than recognised by its structure only).
    bool authenticated = false;
    // A purge after decryption overwrites with zeros (the file held ciphertext).
    bool purgeAfterDecryption = false;
    // A result beside its original is a decryption (the original is the encrypted file).
    bool decrypted = false;
};

}  // namespace kyv
