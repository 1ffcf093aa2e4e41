// "Encryption key": the key panel beside the main window's key button.

#include <QFrame>
#include <QLabel>

#include "core/app/DialogStartFolders.h"
#include "core/app/KeyFromKeyfileCommand.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/keys/KeyPanel.h"
#include "gui/keys/RandomKeyDialog.h"

namespace kyv::gui {

void MainWindow::BuildKeyPanel()
{
    auto* randomKeyWindow = new RandomKeyDialog(services_.clock, this);
    keyPanel_ = new KeyPanel(
        this, context_.key, context_.values, context_.setup, services_.prompter,
        [this, randomKeyWindow](KeyfileCommand command) {
            KeyFromKeyfileCommand keyfileCommand({context_.key, services_.prompter, services_.fileDialogs,
                                                  keyPanel_->Inspector(), *randomKeyWindow});
            (void)keyfileCommand.Run(command, context_.setup.Encrypts(), InputStartFolder(context_.setup));
        });
    connect(keyPanel_, &KeyPanel::keyLineChanged, this, [this](const QString& line) {
        // The model keeps the line, so that a later redraw of the labels shows it too.
        model_.Labels().keySourceText = line;
        keySourceLabel_->setText(line);
        DescribeCommands();
    });
    // While the panel is open the other commands are disabled.
    connect(keyPanel_, &KeyPanel::panelOpened, this, [this] { menuFrame_->setEnabled(false); });
    connect(keyPanel_, &KeyPanel::panelClosed, this, [this] { menuFrame_->setEnabled(true); });
}

void MainWindow::OpenKeyPanel() { keyPanel_->Open(Button(MainCommand::KeyFrom), keySourceLabel_->text()); }

}  // namespace kyv::gui
