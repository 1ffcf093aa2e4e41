#include "gui/files/frmSpecifyInputFiles.h"

#include <QPushButton>
#include <QRadioButton>

#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

frmSpecifyInputFiles::frmSpecifyInputFiles(const OperationSetup& setup, const WorkingValues& values,
                                           Prompter& prompter, QWidget* parent)
    : SpecifyFilesDialog(setup, values, prompter, parent)
{
    setObjectName(QStringLiteral("frmSpecifyInputFiles"));
    setWindowTitle(QStringLiteral("Specify input files"));
    AddSingleFileList(450, 2100);
    optAllFiles = AddOption("optAllFiles", 120, 2700, kDialogWidth - 240);
    AddSharedParts(3060, kDialogWidth);

    connect(optAllFiles, &QRadioButton::clicked, cmdAccept,
            [this] { cmdAccept->setFocus(Qt::OtherFocusReason); });
}

void frmSpecifyInputFiles::SetOperationWords()
{
    const QString word = OperationWord();
    optSingleFile->setText(word + QStringLiteral(" a single file:"));
    optAllFiles->setText(word + QStringLiteral(" all files (*.*)"));
    optExtension->setText(word + QStringLiteral(" all files with a particular extension"));
    optMultipleFiles->setText(word + QStringLiteral(" all files satisfying a file specification"));
    lblExtension->setText(setup_.blnEncrypt ? QStringLiteral("e.g., txt or doc:")
                                            : QStringLiteral("e.g., enc:"));
    lblFilespec->setText(setup_.blnEncrypt ? QStringLiteral("e.g., a*.d*:") : QStringLiteral("e.g., a*.e*:"));
}

void frmSpecifyInputFiles::PrepareForShowing()
{
    txbExtension->clear();
    txbFilespec->clear();
    SetOperationWords();
    const bool hasFiles = values_.intNumFiles != 0;
    optSingleFile->setEnabled(hasFiles);
    File->setEnabled(hasFiles);
    optAllFiles->setEnabled(true);
    if (hasFiles) {
        optSingleFile->setChecked(true);
        optSingleFile->setFocus(Qt::OtherFocusReason);
    } else {
        // Focus on the option selects it, as a click would.
        optAllFiles->setFocus(Qt::OtherFocusReason);
        optAllFiles->click();
    }
    File->Refresh();
    cmdCancel->setFocus(Qt::OtherFocusReason);
}

bool frmSpecifyInputFiles::AcceptOwnOption()
{
    if (optSingleFile->isChecked()) {
        Finish(!File->SelectedName().isEmpty());
        return true;
    }
    if (optAllFiles->isChecked()) {
        Finish(true);
        return true;
    }
    return false;
}

InputFilesChoice frmSpecifyInputFiles::Choice() const
{
    if (optSingleFile->isChecked()) return {InputFilesOption::SingleFile, File->SelectedName()};
    if (optAllFiles->isChecked()) return {InputFilesOption::AllFiles, QString()};
    if (optExtension->isChecked()) return {InputFilesOption::Extension, txbExtension->text()};
    return {InputFilesOption::MultipleFiles, txbFilespec->text()};
}

}  // namespace kyv::gui
