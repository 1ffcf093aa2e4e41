#pragma once
// "Type key (with display)": the key is typed once, in view, with a running checksum.

#include "gui/keys/TypedKeyDialog.h"

#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"

class QLabel;
class QPushButton;

namespace kyv::gui {

class KeyEntryField;
class KeyStrengthIndicator;

class ShownKeyDialog final : public TypedKeyDialog {
    Q_OBJECT
public:
    explicit ShownKeyDialog(const KeyState& keyState, QWidget* parent = nullptr);

    void Prepare(const QWidget* mainWindow, bool encrypting) override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void KeyFieldChanged();
    void Yes();
    void No();
    void LayOut(int width);

    const KeyState& keyState_;
    QLabel* enterKeyLabel_;
    KeyEntryField* keyFields_;
    QLabel* checksumLabel_;
    KeyStrengthIndicator* strength_;
    QLabel* useThisKeyLabel_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
    QPushButton* cancelButton_;
};

}  // namespace kyv::gui
