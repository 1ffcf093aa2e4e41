#include "gui/files/InputFilesDialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

InputFilesDialog::InputFilesDialog(const OperationSetup& setup, const WorkingValues& values,
                                   Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent, QStringLiteral("frmSpecifyInputFiles"),
                         QStringLiteral("Specify input files"))
{
    AddSingleFileList(450, 2100);
    allFilesOption = AddOption("optAllFiles", 120, 2700, kDialogWidth - 240);
    AddSharedParts(3060, kDialogWidth);

    connect(allFilesOption, &QRadioButton::clicked, acceptButton,
            [this] { acceptButton->setFocus(Qt::OtherFocusReason); });
}

void InputFilesDialog::SetOperationWords()
{
    const QString word = OperationWord();
    singleFileOption->setText(word + QStringLiteral(" a single file:"));
    allFilesOption->setText(word + QStringLiteral(" all files (*.*)"));
    // Encryption reads plaintext files.
    SetSharedOperationWords(QStringLiteral(" all files"), setup_.Encrypts());
}

void InputFilesDialog::PrepareForShowing()
{
    const bool hasFiles = ResetSharedParts();
    allFilesOption->setEnabled(true);
    if (hasFiles) {
        singleFileOption->setChecked(true);
        singleFileOption->setFocus(Qt::OtherFocusReason);
    } else {
        // Focus on the option selects it, as a click would.
        allFilesOption->setFocus(Qt::OtherFocusReason);
        allFilesOption->click();
    }
    file->Refresh();
    cancelButton->setFocus(Qt::OtherFocusReason);
}

bool InputFilesDialog::AcceptOwnOption()
{
    if (allFilesOption->isChecked()) {
        Finish(true);
        return true;
    }
    return false;
}

InputFilesChoice InputFilesDialog::Choice() const
{
    if (singleFileOption->isChecked()) return {InputFilesOption::SingleFile, file->SelectedName()};
    if (allFilesOption->isChecked()) return {InputFilesOption::AllFiles, QString()};
    if (extensionOption->isChecked()) return {InputFilesOption::Extension, extensionBox->text()};
    return {InputFilesOption::MultipleFiles, specBox->text()};
}

}  // namespace kyv::gui
