#pragma once
// The key panel under the main window's key button, without its window: which buttons it shows,
// what each of them does to the key record, and the key line the main window shows afterwards.

#include <QString>
#include <vector>

#include "core/common/MouseButton.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/keys/KeyCommands.h"
#include "core/keys/KeyPanelView.h"
#include "core/keys/KeyState.h"

namespace kyv {

enum class KeyButtonOutcome {
    Ignored,        // the ignore-clicks guard was set, or the panel is open already
    HelpRequested,  // right button: help about supplying the key, the panel stays closed
    PanelOpened,
};

// The panel's buttons; rows are counted from the top of the panel.
enum class KeyPanelButton {
    KeyboardWithDisplay,     // "Type key (with display)"
    KeyboardWithoutDisplay,  // "Type key (without display)"
    KeyfileGet,              // "Get key from keyfile"
    KeyfileCreate,           // "Create random key", only while encrypting
    EraseKey,                // "Erase key"
    DontSpecifyKeyNow,       // "Cancel"
};

class KeyPanelController {
public:
    KeyPanelController(KeyState& keyState, const WorkingValues& values, const OperationSetup& setup,
                       Prompter& prompter, KeyCommands& commands, KeyPanelView& view);

    // A mouse release on the key button while the key line reads `currentKeyLine`.
    [[nodiscard]] KeyButtonOutcome KeyButtonReleased(MouseButton button, const QString& currentKeyLine);

    // The buttons of the open panel from top to bottom: six while encrypting, five (no "Create
    // random key") while decrypting. The panel is as many button heights high.
    [[nodiscard]] std::vector<KeyPanelButton> PanelRows() const;

    // A click on one of the panel's buttons.
    void ButtonClicked(KeyPanelButton button);

    [[nodiscard]] bool PanelVisible() const { return panelVisible_; }
    // The main window's other commands (the command column, the setup panel) are usable.
    [[nodiscard]] bool FramesEnabled() const { return !panelBusy_; }
    [[nodiscard]] const QString& KeyLine() const { return keyLine_; }
    // The key line as it was when the panel opened.
    [[nodiscard]] const QString& SavedKeyCaption() const { return savedKeyCaption_; }

private:
    void SetKeyLine(const QString& text);
    void HidePanel();
    void Describe();

    KeyState& keyState_;
    const WorkingValues& values_;
    const OperationSetup& setup_;
    Prompter& prompter_;
    KeyCommands& commands_;
    KeyPanelView& view_;

    QString savedKeyCaption_;
    QString keyLine_;
    bool panelVisible_ = false;
    bool panelBusy_ = false;
    bool encryptingWhenOpened_ = true;
};

}  // namespace kyv
