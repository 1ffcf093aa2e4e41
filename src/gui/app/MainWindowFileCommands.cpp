// The main window's file-specification commands: "Single file", "Input folder", "Output folder",
// "Input file(s)" and "Output file(s)". The setup steps are FileSpecCommands'; here the dialogs
// are shown and placed.

#include <QDialog>

#include "core/app/DialogStartFolders.h"
#include "core/common/FileDialogs.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/operation/ReportWindow.h"

namespace kyv::gui {

namespace {
constexpr int kInputDialogBelowMenuTop = 1030;
constexpr int kInputDialogRightOfMenu = 250;
constexpr int kOutputDialogBelowMenuTop = 330;
constexpr int kOutputDialogInsideRight = 130;
}  // namespace

bool MainWindow::ReportWindowVisible() const { return report_->isVisible(); }

void MainWindow::ShowModal(QDialog& dialog)
{
    if (wiring_.dialogs != nullptr)
        wiring_.dialogs->Show(dialog);
    else
        dialog.exec();
}

InputFilesDialog& MainWindow::InputDialog()
{
    if (!inputFilesDialog_)
        inputFilesDialog_ = new InputFilesDialog(context_.setup, context_.values, services_.prompter, this);
    return *inputFilesDialog_;
}

OutputFilesDialog& MainWindow::OutputDialog()
{
    if (!outputFilesDialog_)
        outputFilesDialog_ = new OutputFilesDialog(context_.setup, context_.values, services_.prompter, this);
    return *outputFilesDialog_;
}

void MainWindow::ChooseSingleFile()
{
    const std::optional<QString> chosen = services_.fileDialogs.OpenFile(fileCommands_.SingleFileRequest());
    IgnoreClicksAfterDialog();
    if (!chosen) return;
    fileCommands_.ApplySingleFile(platform::FilePath(*chosen));
    ShowLabels();
}

void MainWindow::ChooseInputFolder() { ChooseFolder(kInputSide); }

void MainWindow::ChooseOutputFolder() { ChooseFolder(kOutputSide); }

void MainWindow::ChooseInputFiles() { ChooseFiles(kInputSide); }

void MainWindow::ChooseOutputFiles() { ChooseFiles(kOutputSide); }

void MainWindow::ChooseFolder(int side)
{
    if (!fileCommands_.MayChooseFolder(side)) return;
    const std::optional<QString> chosen = services_.fileDialogs.BrowseForFolder(
        FileSpecCommands::FolderBrowserTitle(side),
        side == kInputSide ? InputStartFolder(context_.setup) : OutputStartFolder(context_.setup));
    if (!chosen) return;
    fileCommands_.ApplyFolder(side, platform::FilePath(*chosen));
    ShowLabels();
}

void MainWindow::ChooseFiles(int side)
{
    // Dialogs are placed by their outer frames, relative to the main window's frame.
    const QPoint windowTopLeft = pos();
    const int menuTop = windowTopLeft.y() + Button(MainCommand::Function)->parentWidget()->y();
    if (side == kInputSide) {
        if (!fileCommands_.PrepareInputFiles()) return;
        InputFilesDialog& dialog = InputDialog();
        dialog.file->SetPath(context_.setup.folders[kInputSide]);
        const int menuWidth = Button(MainCommand::Function)->parentWidget()->width();
        dialog.move(windowTopLeft.x() + menuWidth + Twips(kInputDialogRightOfMenu),
                    menuTop + Twips(kInputDialogBelowMenuTop));
        ShowModal(dialog);
        if (dialog.choiceAccepted) fileCommands_.ApplyInputFiles(dialog.Choice());
    } else {
        if (!fileCommands_.PrepareOutputFiles()) return;
        OutputFilesDialog& dialog = OutputDialog();
        dialog.file->SetPath(context_.setup.folders[kOutputSide]);
        // A dialog not yet shown has no frame; it gets one as wide as the main window's.
        const int frameWidth = frameGeometry().width() - width();
        dialog.move(windowTopLeft.x() + frameGeometry().width() - (dialog.width() + frameWidth) -
                        Twips(kOutputDialogInsideRight),
                    menuTop + Twips(kOutputDialogBelowMenuTop));
        ShowModal(dialog);
        if (dialog.choiceAccepted) fileCommands_.ApplyOutputFiles(dialog.Choice());
    }
    ShowLabels();
}

}  // namespace kyv::gui
