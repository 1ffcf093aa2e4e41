#pragma once
// What the input-files and output-files dialogs hand back to their commands.

#include <QString>

namespace kyv {

enum class InputFilesOption { SingleFile, AllFiles, Extension, MultipleFiles };

struct InputFilesChoice {
    InputFilesOption option = InputFilesOption::SingleFile;
    // The chosen name, the cleaned extension or the trimmed specification; unused for all files.
    QString text;
};

enum class OutputFilesOption { ExistingFile, NewFile, Extension, MultipleFiles };

struct OutputFilesChoice {
    OutputFilesOption option = OutputFilesOption::ExistingFile;
    // The chosen or typed name, the cleaned extension or the trimmed specification.
    QString text;
};

}  // namespace kyv
