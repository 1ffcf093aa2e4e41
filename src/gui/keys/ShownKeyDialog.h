#pragma once
// "Type key (with display)": the key is typed once, in view, with a running checksum.

#include <QDialog>

#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"

class QLabel;
class QPushButton;

namespace kyv::gui {

class KeyEntryField;

class ShownKeyDialog : public QDialog {
    Q_OBJECT
public:
    explicit ShownKeyDialog(const KeyState& keyState, QWidget* parent = nullptr);

    // Shows the dialog modally under `mainWindow` and reports how it was left with the text typed.
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
    void KeyFieldChanged();
    void Yes();
    void No();
    void LayOut(int width);

    const KeyState& keyState_;
    QLabel* enterKeyLabel_;
    KeyEntryField* keyFields_;
    QLabel* checksumLabel_;
    QLabel* useThisKeyLabel_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
    QPushButton* cancelButton_;
    SecureBytes acceptedText_;
};

}  // namespace kyv::gui
