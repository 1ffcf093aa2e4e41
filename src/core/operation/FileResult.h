#pragma once
// What happened to one file of an operation, as a value: the walk makes it, the run's totals count
// it, and the report formatter words it. Nothing reads it back from the report's text.

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

#include "engine/cipher/CipherEngine.h"
#include "platform/FilePath.h"

namespace kyv {

// What the operation itself decided about a file. A failure of the cipher engine is not one of
// these: it stays the engine's own result code.
enum class FileDecision {
    Done,                  // the result lies under the output name (in place: the file's own name)
    OwnExecutable,         // the program's own file is never replaced
    CurrentKeyfile,        // nor is the keyfile of the current key
    EmptyFile,             // 0 bytes: nothing to work on
    TooSmallToDecrypt,     // shorter than any encrypted file
    NoTemporaryName,       // in place: no free name beside the file for the result
    RenameFailed,          // in place: the result stays under its temporary name
    ProtectedExtension,    // in place: a type of file that is never changed in place
    RenameFailedOnFloppy,  // as RenameFailed, on a removable drive that probably ran out of space
    SkippedNotEncrypted,   // the user would not decrypt a file that seems not to be encrypted
    ChangedWhileRead,      // written to, or replaced under its name, while it was worked on: kept
    ResultNotIntact,       // in place: the result read back did not authenticate; the original is kept
    // In place: the result has the file's name, but the purge of the original fell short, so the
    // disk may still hold the original's data in the blocks it used.
    PurgeNotOverwritten,  // the original was deleted, but writing over it or flushing that failed
    PurgeNotDeleted,      // the original was emptied, but it stays under a meaningless name
};

struct FileResult {
    // Either the operation's decision or the code of an engine call that failed.
    using Outcome = std::variant<FileDecision, cipher::CipherResult>;

    bool encrypting = true;
    QString inputName;
    platform::FilePath inputPath;
    QString outputName;
    platform::FilePath outputPath;
    // The output replaces the input (also when another spelling or a link leads to the same file).
    bool inPlace = false;
    // In place: where the result, or part of it, was left when it could not take the file's name.
    platform::FilePath temporaryPath;
    // The input's length as the line shows it; none when the file was turned down before that
    // (gone, empty, too small to decrypt).
    std::optional<std::uint64_t> inputLength;
    // The length of the result of a file done.
    std::uint64_t outputLength = 0;
    Outcome outcome = FileDecision::Done;

    [[nodiscard]] bool Is(FileDecision decision) const;
    // The engine's code when the engine failed on the file.
    [[nodiscard]] std::optional<cipher::CipherResult> EngineFailure() const;
    // A result was made: under the file's name, or under the temporary name when renaming failed.
    [[nodiscard]] bool CountsAsDone() const;
    // Done, yet the result waits under its temporary name for the user.
    [[nodiscard]] bool LeftUnderTemporaryName() const;
    // In place: the result has the file's name, but the original's purge fell short.
    [[nodiscard]] bool PurgeFellShort() const;
    // The engine may have written part of the plaintext before it failed.
    [[nodiscard]] bool MayLeavePartialPlaintext() const;
    // Where a failed decryption left the plaintext of the chunks before the damage; empty when it
    // left none. Never an existing file's name: such a file is kept, and this is a new name.
    platform::FilePath partialPlaintextPath;
    // For PurgeNotDeleted: where the emptied original is left.
    platform::FilePath emptiedOriginalPath;
};

// An engine call's code as an outcome: success is a file done.
[[nodiscard]] FileResult::Outcome EngineOutcome(cipher::CipherResult code);

// The engine could not read the file to its end, as when it changed while being read.
[[nodiscard]] bool IsReadFailure(const FileResult::Outcome& outcome);

}  // namespace kyv
