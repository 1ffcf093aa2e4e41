#pragma once
// The checks "Do it!" makes before anything is processed, in the order they are made. Each tells
// the user why it failed; the command-line tool runs the same checks with the same messages.

#include <QString>
#include <functional>

namespace kyv {

class Prompter;
struct KeyState;
struct OperationSetup;

// The folders are full paths and the output file specification names files in the output folder
// only; a setup loaded from a file may say otherwise.
[[nodiscard]] bool CheckSetupConfined(const OperationSetup& setup, Prompter& prompter);

// Both the input file specification and the input folder are set.
[[nodiscard]] bool InputFilesSpecified(const OperationSetup& setup);
// Both the output file specification and the output folder are set.
[[nodiscard]] bool OutputFilesSpecified(const OperationSetup& setup);

// The input side: specified, a readable folder holding matching files or subfolders, and matching
// files at the top unless subfolders are included.
[[nodiscard]] bool CheckInputSide(const OperationSetup& setup, Prompter& prompter);

// A key has been specified.
[[nodiscard]] bool CheckKeySpecified(const OperationSetup& setup, const KeyState& key, Prompter& prompter);

// Whether output folder and specification name the input files: the specifications compared
// without letter case, the folders too when they are one folder on the file system.
[[nodiscard]] bool OutputNamesInput(const OperationSetup& setup);

// The output side: specified; when it names the input files the setup is turned into in-place
// work through `performOutputFilesSame` (the "Output file(s) same?" command, which inverts
// inPlace after it was set false); subfolders then need in-place work. An empty
// command inverts the flag alone.
[[nodiscard]] bool CheckOutputSide(OperationSetup& setup, Prompter& prompter,
                                   const std::function<void()>& performOutputFilesSame);

}  // namespace kyv
