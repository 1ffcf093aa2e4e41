#include "core/keys/KeyPanelController.h"

#include "core/keys/KeyDescription.h"

namespace kyv {

KeyPanelController::KeyPanelController(KeyState& state, const WorkingValues& workingValues,
                                       const OperationSetup& operationSetup, Prompter& messages,
                                       KeyCommands& keyCommands, KeyPanelView& panelView)
    : keyState_(state),
      values_(workingValues),
      setup_(operationSetup),
      prompter_(messages),
      commands_(keyCommands),
      view_(panelView)
{
}

KeyButtonOutcome KeyPanelController::KeyButtonReleased(MouseButton button, const QString& currentKeyLine)
{
    if (values_.ignoreClicks || panelBusy_) return KeyButtonOutcome::Ignored;
    if (button == MouseButton::Right) return KeyButtonOutcome::HelpRequested;
    savedKeyCaption_ = currentKeyLine;
    panelBusy_ = true;
    panelVisible_ = true;
    encryptingWhenOpened_ = setup_.Encrypts();
    SetKeyLine(QString());
    view_.PanelOpened();
    return KeyButtonOutcome::PanelOpened;
}

std::vector<KeyPanelButton> KeyPanelController::PanelRows() const
{
    std::vector<KeyPanelButton> rows = {KeyPanelButton::KeyboardWithDisplay,
                                        KeyPanelButton::KeyboardWithoutDisplay, KeyPanelButton::KeyfileGet};
    if (encryptingWhenOpened_) rows.push_back(KeyPanelButton::KeyfileCreate);
    rows.push_back(KeyPanelButton::EraseKey);
    rows.push_back(KeyPanelButton::DontSpecifyKeyNow);
    return rows;
}

void KeyPanelController::ButtonClicked(KeyPanelButton button)
{
    if (!panelVisible_) return;
    // Every way out of the panel, a failing command included, gives the main window its commands back.
    struct ClosesPanel {
        KeyPanelController& controller;
        ~ClosesPanel()
        {
            controller.panelBusy_ = false;
            controller.view_.PanelClosed();
        }
    } closesPanel{*this};
    HidePanel();
    switch (button) {
        case KeyPanelButton::KeyboardWithDisplay:
            ApplyTypedKey(keyState_, commands_.KeyboardWithDisplay());
            Describe();
            break;
        case KeyPanelButton::KeyboardWithoutDisplay:
            ApplyTypedKey(keyState_, commands_.KeyboardWithoutDisplay());
            Describe();
            break;
        case KeyPanelButton::KeyfileGet:
            commands_.KeyFromKeyfile(KeyfileCommand::GetKey);
            Describe();
            break;
        case KeyPanelButton::KeyfileCreate:
            commands_.KeyFromKeyfile(KeyfileCommand::CreateRandomKey);
            Describe();
            break;
        case KeyPanelButton::EraseKey:
            EraseKeyData(keyState_);
            keyState_.source = NotSpecified;
            keyState_.choiceAbandoned = false;
            SetKeyLine(values_.notSpecifiedText);
            Describe();
            break;
        case KeyPanelButton::DontSpecifyKeyNow:
            SetKeyLine(savedKeyCaption_);
            break;
    }
}

void KeyPanelController::SetKeyLine(const QString& text)
{
    keyLine_ = text;
    view_.KeyLineChanged(keyLine_);
}

void KeyPanelController::HidePanel()
{
    panelVisible_ = false;
    view_.PanelHidden();
}

void KeyPanelController::Describe()
{
    SetKeyLine(DescribeKey(keyState_, values_, savedKeyCaption_, prompter_));
}

}  // namespace kyv
