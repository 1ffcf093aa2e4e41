#include "gui/files/frmSpecifyOutputFiles.h"

#include <QLabel>
#include <QRadioButton>

#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

frmSpecifyOutputFiles::frmSpecifyOutputFiles(const OperationSetup& setup, const WorkingValues& values,
                                             Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent)
{
    setObjectName(QStringLiteral("frmSpecifyOutputFiles"));
    setWindowTitle(QStringLiteral("Specify output files"));
    AddSingleFileList(720, 1800);
    lblSingleFile = new QLabel(this);
    lblSingleFile->setObjectName(QStringLiteral("lblSingleFile"));
    lblSingleFile->setGeometry(TwipsRect(360, 420, kDialogWidth - 480, 285));
    optNewFile = AddOption("optNewFile", 120, 2640, 2400);
    txbNewFile = AddTextBox("txbNewFile", 2520, 2625, kDialogWidth - 2640);
    WireTextOption(optNewFile, nullptr, txbNewFile, false);
    AddSharedParts(3120, kDialogWidth);
}

void frmSpecifyOutputFiles::SetOperationWords()
{
    const QString word = OperationWord();
    optSingleFile->setText(word + QStringLiteral(" to an existing file"));
    lblSingleFile->setText(QStringLiteral("(which will be overwritten):"));
    optNewFile->setText(word + QStringLiteral(" to a new file:"));
    optExtension->setText(word + QStringLiteral(" to files with a particular extension"));
    optMultipleFiles->setText(word + QStringLiteral(" to files satisfying a file specification"));
    lblExtension->setText(setup_.blnEncrypt ? QStringLiteral("e.g., enc:")
                                            : QStringLiteral("e.g., txt or doc:"));
    lblFilespec->setText(setup_.blnEncrypt ? QStringLiteral("e.g., a*.e*:") : QStringLiteral("e.g., a*.d*:"));
}

void frmSpecifyOutputFiles::PrepareForShowing()
{
    txbNewFile->clear();
    txbExtension->clear();
    txbFilespec->clear();
    SetOperationWords();
    const bool hasFiles = values_.intNumFiles != 0;
    optSingleFile->setEnabled(hasFiles);
    File->setEnabled(hasFiles);
    if (hasFiles)
        optSingleFile->setChecked(true);
    else
        optExtension->setChecked(true);
    File->Refresh();
}

bool frmSpecifyOutputFiles::AcceptOwnOption()
{
    if (optSingleFile->isChecked()) {
        Finish(!File->SelectedName().isEmpty());
        return true;
    }
    if (optNewFile->isChecked()) {
        AcceptText(txbNewFile);
        return true;
    }
    return false;
}

OutputFilesChoice frmSpecifyOutputFiles::Choice() const
{
    if (optSingleFile->isChecked()) return {OutputFilesOption::ExistingFile, File->SelectedName()};
    if (optNewFile->isChecked()) return {OutputFilesOption::NewFile, txbNewFile->text()};
    if (optExtension->isChecked()) return {OutputFilesOption::Extension, txbExtension->text()};
    return {OutputFilesOption::MultipleFiles, txbFilespec->text()};
}

}  // namespace kyv::gui
