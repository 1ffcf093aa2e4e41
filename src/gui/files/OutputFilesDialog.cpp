#include "gui/files/OutputFilesDialog.h"

#include <QLabel>
#include <QRadioButton>

#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

OutputFilesDialog::OutputFilesDialog(const OperationSetup& setup, const WorkingValues& values,
                                     Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent, QStringLiteral("frmSpecifyOutputFiles"),
                         QStringLiteral("Specify output files"))
{
    AddSingleFileList(720, 1800);
    singleFileText = new QLabel(this);
    singleFileText->setObjectName(QStringLiteral("lblSingleFile"));
    singleFileText->setGeometry(TwipsRect(360, 420, kDialogWidth - 480, 285));
    // The new file's box in line with the boxes below it.
    newFileOption = AddOption("optNewFile", 120, 2640, kTextBoxLeft - 120);
    newFileBox =
        AddTextBox("txbNewFile", kTextBoxLeft, 2625, kDialogWidth - kTextBoxLeft - kTextBoxRightMargin);
    newFileBox->setAccessibleName(QStringLiteral("New file name"));
    WireTextOption(newFileOption, nullptr, newFileBox, false);
    AddSharedParts(3120, kDialogWidth);
}

void OutputFilesDialog::SetOperationWords()
{
    const QString word = OperationWord();
    singleFileOption->setText(word + QStringLiteral(" to an existing file"));
    singleFileText->setText(QStringLiteral("(which will be overwritten):"));
    newFileOption->setText(word + QStringLiteral(" to a new file:"));
    // Decryption writes plaintext files.
    SetSharedOperationWords(QStringLiteral(" to files"), !setup_.Encrypts());
}

void OutputFilesDialog::PrepareForShowing()
{
    newFileBox->clear();
    QRadioButton* chosen = ResetSharedParts() ? singleFileOption : extensionOption;
    chosen->setChecked(true);
    // The focus starts on the chosen option, so that Tab comes back into the options there.
    chosen->setFocus(Qt::OtherFocusReason);
    file->Refresh();
}

bool OutputFilesDialog::AcceptOwnOption()
{
    if (newFileOption->isChecked()) {
        AcceptText(newFileBox);
        return true;
    }
    return false;
}

OutputFilesChoice OutputFilesDialog::Choice() const
{
    if (singleFileOption->isChecked()) return {OutputFilesOption::ExistingFile, file->SelectedName()};
    if (newFileOption->isChecked()) return {OutputFilesOption::NewFile, newFileBox->text()};
    if (extensionOption->isChecked()) return {OutputFilesOption::Extension, extensionBox->text()};
    return {OutputFilesOption::MultipleFiles, specBox->text()};
}

}  // namespace kyv::gui
