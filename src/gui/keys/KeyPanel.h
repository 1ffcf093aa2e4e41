#pragma once
// The key panel that opens beside the main window's key button, with the typing
// dialogs and the inspection window it leads to.
//
// The main window calls KeyButtonReleased when the key button is released, shows the key line
// it is given through keyLineChanged, disables the command column and the setup panel on panelOpened and
// enables them again on panelClosed (the focus is then back on the key button).

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/keys/KeyCommands.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyPanelController.h"
#include "core/keys/KeyPanelView.h"
#include "core/keys/KeyState.h"

class QPushButton;
class QWidget;

namespace kyv::gui {

class KeyInspectionDialog;
class ShownKeyDialog;
class HiddenKeyDialog;

class KeyPanel : public QObject, private KeyCommands, private KeyPanelView {
    Q_OBJECT
public:
    // `keyfileCommand` runs "Get key from keyfile" and "Create random key"; without one those two
    // buttons do nothing.
    KeyPanel(QWidget* mainWindow, KeyState& keyState, WorkingValues& values, OperationSetup& setup,
             Prompter& prompter, std::function<void(KeyfileCommand)> keyfileCommand = {});
    ~KeyPanel() override;

    // A release on the key button: the left button opens the panel beside `keyButton`; the right
    // one only answers HelpRequested; both are Ignored while ignoreClicks is set.
    KeyButtonOutcome KeyButtonReleased(MouseButton button, QWidget* keyButton, const QString& currentKeyLine);
    // The left click: opens the panel.
    void Open(QWidget* keyButton, const QString& currentKeyLine);

    // The panel widget, a child of the main window (hidden until opened).
    [[nodiscard]] QWidget* PanelWidget() const { return panel_; }
    // The inspection window, for the keyfile commands.
    [[nodiscard]] KeyInspector& Inspector();
    [[nodiscard]] KeyPanelController& Controller() { return controller_; }

signals:
    void keyLineChanged(const QString& text);
    void panelOpened();
    void panelClosed();

private:
    TypedKeyResult KeyboardWithDisplay() override;
    TypedKeyResult KeyboardWithoutDisplay() override;
    void KeyFromKeyfile(KeyfileCommand command) override;
    void KeyLineChanged(const QString& line) override;
    void PanelOpened() override;
    void PanelHidden() override;
    void PanelClosed() override;

    void BuildPanel();
    void LayOutPanel();
    void PanelButtonClicked(KeyPanelButton button);

    QWidget* mainWindow_;
    KeyState& keyState_;
    OperationSetup& setup_;
    Prompter& prompter_;
    KeyPanelController controller_;
    QWidget* panel_ = nullptr;
    std::map<KeyPanelButton, QPushButton*> buttons_;
    QPointer<QWidget> keyButton_;
    const std::function<void(KeyfileCommand)> keyfileCommand_;
    std::unique_ptr<KeyInspectionDialog> inspectKey_;
    std::unique_ptr<ShownKeyDialog> keyboardWithDisplay_;
    std::unique_ptr<HiddenKeyDialog> keyboardWithoutDisplay_;
};

}  // namespace kyv::gui
