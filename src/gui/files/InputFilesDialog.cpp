#include "gui/files/InputFilesDialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

InputFilesDialog::InputFilesDialog(const OperationSetup& setup, const WorkingValues& values,
                                           Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent)
{
    setObjectName(QStringLiteral("frmSpecifyInputFiles"));
    setWindowTitle(QStringLiteral("Specify input files"));
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
    extensionOption->setText(word + QStringLiteral(" all files with a particular extension"));
    specOption->setText(word + QStringLiteral(" all files satisfying a file specification"));
    extensionHint->setText(setup_.Encrypts() ? QStringLiteral("e.g., txt or doc:")
                                            : QStringLiteral("e.g., enc:"));
    specHint->setText(setup_.Encrypts() ? QStringLiteral("e.g., a*.d*:") : QStringLiteral("e.g., a*.e*:"));
}

void InputFilesDialog::PrepareForShowing()
{
    extensionBox->clear();
    specBox->clear();
    SetOperationWords();
    const bool hasFiles = values_.fileListCount != 0;
    singleFileOption->setEnabled(hasFiles);
    File->setEnabled(hasFiles);
    allFilesOption->setEnabled(true);
    if (hasFiles) {
        singleFileOption->setChecked(true);
        singleFileOption->setFocus(Qt::OtherFocusReason);
    } else {
        // Focus on the option selects it, as a click would.
        allFilesOption->setFocus(Qt::OtherFocusReason);
        allFilesOption->click();
    }
    File->Refresh();
    cancelButton->setFocus(Qt::OtherFocusReason);
}

bool InputFilesDialog::AcceptOwnOption()
{
    if (singleFileOption->isChecked()) {
        Finish(!File->SelectedName().isEmpty());
        return true;
    }
    if (allFilesOption->isChecked()) {
        Finish(true);
        return true;
    }
    return false;
}

InputFilesChoice InputFilesDialog::Choice() const
{
    if (singleFileOption->isChecked()) return {InputFilesOption::SingleFile, File->SelectedName()};
    if (allFilesOption->isChecked()) return {InputFilesOption::AllFiles, QString()};
    if (extensionOption->isChecked()) return {InputFilesOption::Extension, extensionBox->text()};
    return {InputFilesOption::MultipleFiles, specBox->text()};
}

}  // namespace kyv::gui
