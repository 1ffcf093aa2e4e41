// The setup's snapshot, "Restore setup" and the flags a setup gives through the window's commands.

#include <QLabel>

#include "core/keys/KeySource.h"
#include "gui/app/MainCommandTable.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"

namespace kyv::gui {

void MainWindow::Perform(MainCommand command) { (this->*EntryOf(command).perform)(); }

void MainWindow::ApplySetupFlags(Direction direction, bool inPlace, bool includeSubfolders)
{
    OperationSetup& setup = context_.setup;
    // Each command inverts its flag: set the opposite first.
    setup.direction = Opposite(direction);
    Perform(MainCommand::Function);
    setup.inPlace = !inPlace;
    Perform(MainCommand::OutputFilesSame);
    setup.includeSubfolders = !includeSubfolders;
    Perform(MainCommand::Subdirectories);
}

void MainWindow::SnapshotSetup() { snapshot_ = SnapshotOf(context_.setup); }

void MainWindow::RestoreSetup()
{
    // The commands empty the setup-file label; restoring keeps it.
    const QString setupFileText = model_.Labels().setupFileText;
    // Folders first: "Subfolders?" asks the input folder whether it has subfolders, and it is the
    // snapshot's folder that must answer, not the one being left.
    context_.setup.folders = snapshot_.folders;
    context_.setup.fileSpecs = snapshot_.fileSpecs;
    ApplySetupFlags(snapshot_.direction, snapshot_.inPlace, snapshot_.includeSubfolders);
    model_.RefreshFilesStatus();
    context_.key.source = NotSpecified;
    model_.Labels().keySourceText = context_.values.notSpecifiedText;
    model_.Labels().setupFileText = setupFileText;
    ShowLabels();
    CloseSetupPanel();
}

void MainWindow::CloseSetupPanel()
{
    setupFileLabel_->show();
    menuFrame_->setEnabled(true);
    Button(MainCommand::Setup)->setFocus(Qt::OtherFocusReason);
}

}  // namespace kyv::gui
