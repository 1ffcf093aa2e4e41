#pragma once
// "Specify input files": one file of the input folder, all files, all files with one extension,
// or all files matching a specification.

#include "core/app/FilesChoice.h"
#include "gui/files/SpecifyFilesDialog.h"

namespace kyv::gui {

class InputFilesDialog : public SpecifyFilesDialog {
    Q_OBJECT
public:
    // Reads encrypt and fileListCount each time it is shown; the caller points File at the input
    // folder first.
    InputFilesDialog(const OperationSetup& setup, const WorkingValues& values, Prompter& prompter,
                     QWidget* parent = nullptr);

    QRadioButton* allFilesOption = nullptr;

    // The accepted choice: the selected option with its name, extension or specification.
    [[nodiscard]] InputFilesChoice Choice() const;

    void SetOperationWords() override;

protected:
    void PrepareForShowing() override;
    bool AcceptOwnOption() override;
};

}  // namespace kyv::gui
