#pragma once
// "Specify output files": an existing file of the output folder (overwritten), a new file, files
// with one extension, or names made by a specification.

#include "core/app/FilesChoice.h"
#include "gui/files/SpecifyFilesDialog.h"

class QLabel;

namespace kyv::gui {

class OutputFilesDialog : public SpecifyFilesDialog {
    Q_OBJECT
public:
    // Reads encrypt and fileListCount each time it is shown; the caller points File at the
    // output folder first.
    OutputFilesDialog(const OperationSetup& setup, const WorkingValues& values, Prompter& prompter,
                      QWidget* parent = nullptr);

    QLabel* singleFileText = nullptr;
    QRadioButton* newFileOption = nullptr;
    OptionTextBox* newFileBox = nullptr;

    [[nodiscard]] OutputFilesChoice Choice() const;

    void SetOperationWords() override;

protected:
    void PrepareForShowing() override;
    bool AcceptOwnOption() override;
};

}  // namespace kyv::gui
