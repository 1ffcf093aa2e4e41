#pragma once
// The setup side of "Single file", "Input folder", "Output folder", "Input file(s)" and
// "Output file(s)": the window asks its dialogs, these steps check and apply the answers.

#include <QString>

#include "core/app/FilesChoice.h"
#include "core/common/FileDialogs.h"
#include "platform/FilePath.h"

namespace kyv {

class MainWindowModel;

class FileSpecCommands {
public:
    explicit FileSpecCommands(MainWindowModel& model) : model_(model) {}

    // "Single file": the file-open dialog to show, then the chosen path (empty: nothing changes).
    [[nodiscard]] FileDialogRequest SingleFileRequest() const;
    void ApplySingleFile(const platform::FilePath& path);

    // "Input folder" (0) and "Output folder" (1): whether the folder browser is to be shown (the
    // output folder of files written in place is refused with a message), its title, then the
    // chosen folder (empty: nothing changes).
    [[nodiscard]] bool MayChooseFolder(int index);
    [[nodiscard]] static QString FolderBrowserTitle(int index);
    bool ApplyFolder(int index, const platform::FilePath& chosen);

    // "Input file(s)": whether the dialog is to be shown (false after a message); counts the files
    // of the input folder into fileListCount. Then the accepted choice.
    [[nodiscard]] bool PrepareInputFiles();
    void ApplyInputFiles(const InputFilesChoice& choice);

    // "Output file(s)": the same for the output folder.
    [[nodiscard]] bool PrepareOutputFiles();
    void ApplyOutputFiles(const OutputFilesChoice& choice);

private:
    void ForgetFolder(int index, const QString& errorText);

    MainWindowModel& model_;
};

}  // namespace kyv
