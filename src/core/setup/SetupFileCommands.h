#pragma once
// Loading and saving setup files with the messages the user sees, for the main window's setup
// panel and for `kyv run`. Dialogs, labels and focus stay with the window.

#include <QString>
#include <optional>

#include "core/setup/SetupFile.h"

namespace kyv {

class Prompter;

// What a save came to.
enum class SetupSaveOutcome {
    Saved,
    NotSaved,  // the user did not want an existing file overwritten
    Failed,    // the file could not be written (the user has been told)
};

// Why a setup is refused: its folders or output file specification would let an operation work
// outside the folders it names. Empty when it may be used.
[[nodiscard]] QString SetupConfinementProblem(const SetupFileContents& contents);

// An operation file chosen by the user: its setup, or nothing after the message that says why
// (missing, unreadable or malformed, or refused).
[[nodiscard]] std::optional<SetupFileContents> LoadOperationFile(const platform::FilePath& path,
                                                                 Prompter& prompter);

// The next-run setup at start-up: nothing, silently, when there is none or it cannot be read; a
// refused setup is named.
[[nodiscard]] std::optional<SetupFileContents> LoadNextRunSetup(const platform::FilePath& path,
                                                                Prompter& prompter);

// "Save setup for next run": false after "Cannot save setup!".
[[nodiscard]] bool SaveNextRunSetup(const platform::FilePath& path, const SetupFileContents& contents,
                                    Prompter& prompter);

// "Save setup as operation file", after the file dialog: asks before replacing a file.
[[nodiscard]] SetupSaveOutcome SaveOperationFile(const platform::FilePath& path,
                                                 const SetupFileContents& contents, Prompter& prompter);

}  // namespace kyv
