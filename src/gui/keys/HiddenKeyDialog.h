#pragma once
// "Type key (without display)": the key is typed twice, hidden behind "#", and may be inspected
// before it is used.

#include <QDialog>
#include <array>

#include "core/common/Prompter.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"

class QLabel;
class QPushButton;

namespace kyv::gui {

class KeyEntryField;

class HiddenKeyDialog : public QDialog {
    Q_OBJECT
public:
    HiddenKeyDialog(KeyState& keyState, Prompter& prompter, KeyInspector& inspector,
                    QWidget* parent = nullptr);

    // Shows the dialog modally under `mainWindow` and reports how it was left with the key typed.
    [[nodiscard]] TypedKeyResult Run(const QWidget* mainWindow, bool encrypting);

    // What Run does before the dialog is shown; public so that tests can show it without blocking.
    void Prepare(const QWidget* mainWindow, bool encrypting);
    // The answer and text once the dialog has hidden; the text leaves the dialog.
    [[nodiscard]] TypedKeyResult TakeResult();

    bool answeredYes = false;
    bool answeredNo = false;

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
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    SecureBytes acceptedText_;
    bool laidOut_ = false;
};

}  // namespace kyv::gui
