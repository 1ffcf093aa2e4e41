#pragma once
// "Type key (without display)": the key is typed twice, hidden behind "#", and may be inspected
// before it is used.

#include <array>
#include "gui/keys/TypedKeyDialog.h"

#include "core/common/Prompter.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"

class QLabel;
class QPushButton;

namespace kyv::gui {

class KeyEntryField;
class KeyStrengthIndicator;

class HiddenKeyDialog final : public TypedKeyDialog {
    Q_OBJECT
public:
    HiddenKeyDialog(KeyState& keyState, Prompter& prompter, KeyInspector& inspector,
                    QWidget* parent = nullptr);

    void Prepare(const QWidget* mainWindow, bool encrypting) override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void KeyFieldChanged(int index);
    void Ok();
    void LayOut(int width);

    KeyState& keyState_;
    Prompter& prompter_;
    KeyInspector& inspector_;
    QLabel* enterKeyLabel_;
    std::array<KeyEntryField*, 2> keyFields_;
    QLabel* reEnterKeyLabel_;
    QLabel* checksumLabel_;
    KeyStrengthIndicator* strength_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    bool laidOut_ = false;
};

}  // namespace kyv::gui
