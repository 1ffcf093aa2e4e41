// The "Setup" command with its two panels, the setup's snapshot behind "Restore setup", and the
// flags a setup gives through the window's commands.

#include <QFrame>
#include <QLabel>

#include "core/app/DialogStartFolders.h"
#include "core/common/FileDialogs.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeySource.h"
#include "core/setup/SetupFileCommands.h"
#include "gui/app/MainCommandTable.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/setup/SetupPanels.h"

namespace kyv::gui {

namespace {
constexpr int kPanelRightOfMenu = 100;  // twips between the command column and the panels
const QString kOperationFileFilter = QStringLiteral("Operation files (*.opn) | *.opn");
}  // namespace

void MainWindow::BuildSetupPanels()
{
    setupPanels_ = new SetupPanels(this);
    connect(setupPanels_, &SetupPanels::clicked, this, &MainWindow::SetupButtonClicked);
}

int MainWindow::SetupPanelLeft() const
{
    return Button(MainCommand::Setup)->width() + menuFrame_->x() + Twips(kPanelRightOfMenu);
}

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

void MainWindow::ShowSetup(const SetupFileContents& contents)
{
    context_.setup.folders = contents.folders;
    context_.setup.fileSpecs = contents.fileSpecs;
    ApplySetupFlags(DirectionFor(contents.encrypt), contents.inPlace, contents.includeSubfolders);
    model_.RefreshFilesStatus();
    ShowLabels();
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

void MainWindow::OpenSetupPanel()
{
    setupFileLabel_->hide();
    menuFrame_->setEnabled(false);
    setupPanels_->OpenSetupPanel(SetupPanelLeft());
}

void MainWindow::CloseSetupPanel()
{
    setupPanels_->HideSetupPanel();
    setupPanels_->HideSavePanel();
    setupFileLabel_->show();
    menuFrame_->setEnabled(true);
    Button(MainCommand::Setup)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::SetupButtonClicked(SetupButton button)
{
    switch (button) {
        case SetupButton::Load:
            LoadSetup();
            return;
        case SetupButton::Save:
            setupPanels_->OpenSavePanel(SetupPanelLeft());
            return;
        case SetupButton::Clear:
            ClearSetup();
            return;
        case SetupButton::Restore:
            RestoreSetup();
            return;
        case SetupButton::SaveForNextRun:
            SaveSetupForNextRun();
            return;
        case SetupButton::SaveAsOperationFile:
            SaveSetupAsOperationFile();
            return;
        case SetupButton::Keep:
        case SetupButton::DontSave:
            CloseSetupPanel();
            return;
    }
}

void MainWindow::LoadSetup()
{
    setupPanels_->HideSetupPanel();
    const std::optional<QString> path =
        services_.fileDialogs.OpenFile({QStringLiteral("Specify operation file to be loaded"),
                                        kOperationFileFilter, QString(), InputStartFolder(context_.setup)});
    if (path) {
        // The release of a double click in the dialog must not reach the button under it.
        IgnoreClicksAfterDialog();
        if (!path->isEmpty()) {
            if (const auto contents = LoadOperationFile(FilePath(*path), services_.prompter)) {
                ShowSetup(*contents);
                SnapshotSetup();
                model_.Labels().setupFileText = DisplayName(*path);
                ShowLabels();
            }
        }
    }
    CloseSetupPanel();
}

void MainWindow::SaveSetupForNextRun()
{
    // The setup-file label names operation files only: it stays as it is.
    (void)SaveNextRunSetup(context_.values.nextRunSetupPath, ContentsOf(context_.setup), services_.prompter);
    CloseSetupPanel();
}

void MainWindow::SaveSetupAsOperationFile()
{
    setupPanels_->HideSavePanel();
    // The name is used as the dialog gives it: no extension is added.
    const std::optional<QString> path =
        services_.fileDialogs.SaveFile({QStringLiteral("Specify operation file to be saved"),
                                        kOperationFileFilter, QString(), InputStartFolder(context_.setup)});
    if (path) {
        IgnoreClicksAfterDialog();
        if (!path->isEmpty()) {
            switch (SaveOperationFile(FilePath(*path), ContentsOf(context_.setup), services_.prompter)) {
                case SetupSaveOutcome::Saved:
                    model_.Labels().setupFileText = DisplayName(*path);
                    break;
                case SetupSaveOutcome::Failed:
                    model_.Labels().setupFileText.clear();
                    break;
                case SetupSaveOutcome::NotSaved:
                    break;
            }
            ShowLabels();
        }
    }
    CloseSetupPanel();
}

void MainWindow::ClearSetup()
{
    SnapshotSetup();
    // Emptied before the flags are applied, so that "Subfolders?" does not ask a folder being left.
    context_.setup.folders = {};
    context_.setup.fileSpecs = {};
    ApplySetupFlags(Direction::Encrypt, false, false);
    model_.RefreshFilesStatus();
    // The key is no longer specified; its text is kept.
    context_.key.source = NotSpecified;
    model_.Labels().keySourceText = context_.values.notSpecifiedText;
    model_.Labels().setupFileText.clear();
    ShowLabels();
    CloseSetupPanel();
}

}  // namespace kyv::gui
