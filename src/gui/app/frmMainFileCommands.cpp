// The main window's file-specification commands: "Single file", "Input folder", "Output folder",
// "Input file(s)" and "Output file(s)". The setup steps are FileSpecCommands'; here the dialogs
// are shown and placed.

#include <QDialog>

#include "core/common/FileDialogs.h"
#include "gui/app/frmMain.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/files/FileListBox.h"
#include "gui/files/frmSpecifyInputFiles.h"
#include "gui/files/frmSpecifyOutputFiles.h"

namespace kyv::gui {

namespace {
constexpr int kInputDialogBelowMenuTop = 1030;
constexpr int kInputDialogRightOfMenu = 250;
constexpr int kOutputDialogBelowMenuTop = 330;
constexpr int kOutputDialogInsideRight = 130;
}  // namespace

bool frmMain::ClickHandledBeforeCommand(MainCommand command, int button)
{
    if (context_.values.blnIgnoreClicks) return true;
    if (button == 2) {
        intStartHeading = InfoOf(command).helpSection;
        ShowHelp();
        return true;
    }
    return button != 1;
}

bool frmMain::ReportWindowVisible() const { return reportWindowVisible && reportWindowVisible(); }

void frmMain::ShowModal(QDialog& dialog)
{
    if (showDialogModal)
        showDialogModal(dialog);
    else
        dialog.exec();
}

frmSpecifyInputFiles& frmMain::InputFilesDialog()
{
    if (!inputFilesDialog_)
        inputFilesDialog_ =
            new frmSpecifyInputFiles(context_.setup, context_.values, *context_.prompter, this);
    return *inputFilesDialog_;
}

frmSpecifyOutputFiles& frmMain::OutputFilesDialog()
{
    if (!outputFilesDialog_)
        outputFilesDialog_ =
            new frmSpecifyOutputFiles(context_.setup, context_.values, *context_.prompter, this);
    return *outputFilesDialog_;
}

void frmMain::cmdSingleFile_MouseUp(int button)
{
    if (ClickHandledBeforeCommand(MainCommand::SingleFile, button)) return;
    const std::optional<QString> chosen = context_.fileDialogs->OpenFile(fileCommands_.SingleFileRequest());
    IgnoreClicksAfterDialog();
    if (!chosen) return;
    fileCommands_.ApplySingleFile(*chosen);
    ShowLabels();
}

void frmMain::cmdSpecifyDirectory_MouseUp(int index, int button)
{
    const MainCommand command = index == kInputSide ? MainCommand::InputFolder : MainCommand::OutputFolder;
    if (ClickHandledBeforeCommand(command, button)) return;
    if (!fileCommands_.MayChooseFolder(index)) return;
    const std::optional<QString> chosen = context_.fileDialogs->BrowseForFolder(
        FileSpecCommands::FolderBrowserTitle(index), context_.setup.strDirpath[index]);
    if (!chosen) return;
    fileCommands_.ApplyFolder(index, *chosen);
    ShowLabels();
}

void frmMain::cmdSpecifyFiles_MouseUp(int index, int button)
{
    const MainCommand command = index == kInputSide ? MainCommand::InputFiles : MainCommand::OutputFiles;
    if (ClickHandledBeforeCommand(command, button)) return;
    // Dialogs are placed by their outer frames, relative to the main window's frame.
    const QPoint windowTopLeft = pos();
    const int menuTop = windowTopLeft.y() + Button(MainCommand::Function)->parentWidget()->y();
    if (index == kInputSide) {
        if (!fileCommands_.PrepareInputFiles()) return;
        frmSpecifyInputFiles& dialog = InputFilesDialog();
        dialog.File->SetPath(context_.setup.strDirpath[kInputSide]);
        const int menuWidth = Button(MainCommand::Function)->parentWidget()->width();
        dialog.move(windowTopLeft.x() + menuWidth + Twips(kInputDialogRightOfMenu),
                    menuTop + Twips(kInputDialogBelowMenuTop));
        ShowModal(dialog);
        if (dialog.blnAccept) fileCommands_.ApplyInputFiles(dialog.Choice());
    } else {
        if (!fileCommands_.PrepareOutputFiles()) return;
        frmSpecifyOutputFiles& dialog = OutputFilesDialog();
        dialog.File->SetPath(context_.setup.strDirpath[kOutputSide]);
        // A dialog not yet shown has no frame; it gets one as wide as the main window's.
        const int frameWidth = frameGeometry().width() - width();
        dialog.move(windowTopLeft.x() + frameGeometry().width() - (dialog.width() + frameWidth) -
                        Twips(kOutputDialogInsideRight),
                    menuTop + Twips(kOutputDialogBelowMenuTop));
        ShowModal(dialog);
        if (dialog.blnAccept) fileCommands_.ApplyOutputFiles(dialog.Choice());
    }
    ShowLabels();
}

}  // namespace kyv::gui
