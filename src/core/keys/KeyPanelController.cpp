#include "core/keys/KeyPanelController.h"

#include "core/keys/KeyDescription.h"

namespace kyv {

KeyPanelController::KeyPanelController(KeyState& state, const WorkingValues& workingValues,
                                       const OperationSetup& operationSetup, Prompter& messages,
                                       KeyCommands& keyCommands)
    : keyState(state), values(workingValues), setup(operationSetup), prompter(messages), commands(keyCommands)
{
}

KeyButtonOutcome KeyPanelController::KeyButtonReleased(MouseButton button, const QString& currentKeyLine)
{
    if (values.ignoreClicks || panelBusy) return KeyButtonOutcome::Ignored;
    if (button == MouseButton::Right) return KeyButtonOutcome::HelpRequested;
    savedKeyCaption = currentKeyLine;
    panelBusy = true;
    panelVisible = true;
    encryptingWhenOpened = setup.Encrypts();
    SetKeyLine(QString());
    if (onPanelOpened) onPanelOpened();
    return KeyButtonOutcome::PanelOpened;
}

std::vector<KeyPanelButton> KeyPanelController::PanelRows() const
{
    std::vector<KeyPanelButton> rows = {KeyPanelButton::KeyboardWithDisplay,
                                        KeyPanelButton::KeyboardWithoutDisplay, KeyPanelButton::KeyfileGet};
    if (encryptingWhenOpened) rows.push_back(KeyPanelButton::KeyfileCreate);
    rows.push_back(KeyPanelButton::EraseKey);
    rows.push_back(KeyPanelButton::DontSpecifyKeyNow);
    return rows;
}

void KeyPanelController::ButtonClicked(KeyPanelButton button)
{
    if (!panelVisible) return;
    // Every way out of the panel, a failing command included, gives the main window its commands back.
    struct ClosesPanel {
        KeyPanelController& controller;
        ~ClosesPanel()
        {
            controller.panelBusy = false;
            if (controller.onPanelClosed) controller.onPanelClosed();
        }
    } closesPanel{*this};
    HidePanel();
    switch (button) {
        case KeyPanelButton::KeyboardWithDisplay:
            ApplyTypedKey(keyState, commands.KeyboardWithDisplay());
            Describe();
            break;
        case KeyPanelButton::KeyboardWithoutDisplay:
            ApplyTypedKey(keyState, commands.KeyboardWithoutDisplay());
            Describe();
            break;
        case KeyPanelButton::KeyfileGet:
            commands.KeyFromKeyfile(KeyfileCommand::GetKey);
            Describe();
            break;
        case KeyPanelButton::KeyfileCreate:
            commands.KeyFromKeyfile(KeyfileCommand::CreateRandomKey);
            Describe();
            break;
        case KeyPanelButton::EraseKey:
            EraseKeyData(keyState);
            keyState.source = NotSpecified;
            keyState.choiceAbandoned = false;
            SetKeyLine(values.notSpecifiedText);
            Describe();
            break;
        case KeyPanelButton::DontSpecifyKeyNow:
            SetKeyLine(savedKeyCaption);
            break;
    }
}

void KeyPanelController::SetKeyLine(const QString& text)
{
    keyLine = text;
    if (onKeyLineChanged) onKeyLineChanged(keyLine);
}

void KeyPanelController::HidePanel()
{
    panelVisible = false;
    if (onPanelHidden) onPanelHidden();
}

void KeyPanelController::Describe()
{
    SetKeyLine(DescribeKey(keyState, values, savedKeyCaption, prompter));
}

}  // namespace kyv
