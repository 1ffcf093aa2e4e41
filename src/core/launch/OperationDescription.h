#pragma once
// The description of the operation that the user confirms before it starts.

#include <QString>

namespace kyv {

class Confirmer;
class Prompter;
struct OperationSetup;
struct RunState;

// "Encrypting *.doc in the folder /data/ (3 files) .  The output files are specified as *.enc in
// the same folder". The folders and specifications come from the run state, the flags from the
// setup; `topLevelFiles` counts the matching files directly in the input folder.
[[nodiscard]] QString OperationDescription(const OperationSetup& setup, const RunState& state,
                                           int topLevelFiles);

// "Perform this encryption operation?"
[[nodiscard]] QString PerformOperationQuestion(bool encrypting);

// Counts the top-level files, builds the description and asks. When the folder cannot be counted
// the user is told, then asked all the same with a description that leaves the count out; the
// answer given decides. (A negative `topLevelFiles` leaves the count out of the description.)
[[nodiscard]] bool ConfirmOperation(const OperationSetup& setup, const RunState& state, Prompter& prompter,
                                    Confirmer& confirmer);

}  // namespace kyv
