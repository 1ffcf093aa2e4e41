#pragma once
// What the two typing dialogs share: shown modally under the main window, they end with Yes, No
// or neither (cancelled) and hand the accepted text over once.

#include <QDialog>

#include "core/keys/SecureBytes.h"
#include "core/keys/TypedKeyEntry.h"

namespace kyv::gui {

class TypedKeyDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Shows the dialog modally under `mainWindow` and reports how it was left with the text typed.
    [[nodiscard]] TypedKeyResult Run(const QWidget* mainWindow, bool encrypting);

    // What Run does before the dialog is shown; public so that tests can show it without blocking.
    virtual void Prepare(const QWidget* mainWindow, bool encrypting) = 0;
    // The answer and text once the dialog has hidden; the text leaves the dialog.
    [[nodiscard]] TypedKeyResult TakeResult();

    bool answeredYes = false;
    bool answeredNo = false;

protected:
    // Forgets the answer and text of the last showing.
    void ResetAnswer();
    // Ends the dialog with `answer` (neither Yes nor No: cancelled) and the text that goes with Yes.
    void SetAnswer(TypedKeyAnswer answer, SecureBytes text);

private:
    SecureBytes acceptedText_;
};

}  // namespace kyv::gui
