#include "gui/files/OutputFilesDialog.h"

#include <QLabel>
#include <QRadioButton>

#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

OutputFilesDialog::OutputFilesDialog(const OperationSetup& setup, const WorkingValues& values,
                                             Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent)
{
    setObjectName(QStringLiteral("frmSpecifyOutputFiles"));
    setWindowTitle(QStringLiteral("Specify output files"));
    AddSingleFileList(720, 1800);
    singleFileText = new QLabel(this);
    singleFileText->setObjectName(QStringLiteral("lblSingleFile"));
    singleFileText->setGeometry(TwipsRect(360, 420, kDialogWidth - 480, 285));
    newFileOption = AddOption("optNewFile", 120, 2640, 2400);
    newFileBox = AddTextBox("txbNewFile", 2520, 2625, kDialogWidth - 2640);
    WireTextOption(newFileOption, nullptr, newFileBox, false);
    AddSharedParts(3120, kDialogWidth);
}

void OutputFilesDialog::SetOperationWords()
{
    const QString word = OperationWord();
    singleFileOption->setText(word + QStringLiteral(" to an existing file"));
    singleFileText->setText(QStringLiteral("(which will be overwritten):"));
    newFileOption->setText(word + QStringLiteral(" to a new file:"));
    extensionOption->setText(word + QStringLiteral(" to files with a particular extension"));
    specOption->setText(word + QStringLiteral(" to files satisfying a file specification"));
    extensionHint->setText(setup_.Encrypts() ? QStringLiteral("e.g., enc:")
                                            : QStringLiteral("e.g., txt or doc:"));
    specHint->setText(setup_.Encrypts() ? QStringLiteral("e.g., a*.e*:") : QStringLiteral("e.g., a*.d*:"));
}

void OutputFilesDialog::PrepareForShowing()
{
    newFileBox->clear();
    extensionBox->clear();
    specBox->clear();
    SetOperationWords();
    const bool hasFiles = values_.fileListCount != 0;
    singleFileOption->setEnabled(hasFiles);
    File->setEnabled(hasFiles);
    if (hasFiles)
        singleFileOption->setChecked(true);
    else
        extensionOption->setChecked(true);
    File->Refresh();
}

bool OutputFilesDialog::AcceptOwnOption()
{
    if (singleFileOption->isChecked()) {
        Finish(!File->SelectedName().isEmpty());
        return true;
    }
    if (newFileOption->isChecked()) {
        AcceptText(newFileBox);
        return true;
    }
    return false;
}

OutputFilesChoice OutputFilesDialog::Choice() const
{
    if (singleFileOption->isChecked()) return {OutputFilesOption::ExistingFile, File->SelectedName()};
    if (newFileOption->isChecked()) return {OutputFilesOption::NewFile, newFileBox->text()};
    if (extensionOption->isChecked()) return {OutputFilesOption::Extension, extensionBox->text()};
    return {OutputFilesOption::MultipleFiles, specBox->text()};
}

}  // namespace kyv::gui
