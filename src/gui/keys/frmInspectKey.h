#pragma once
// "Inspect the key": the key bytes in a decimal, hexadecimal or text view, the checksum the key
// would have, its randomness when it looks random, and the question "Use this key?".

#include <QDialog>
#include <array>

#include "core/common/Prompter.h"
#include "core/keys/KeyInspection.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyState.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace kyv::gui {

class frmInspectKey : public QDialog, public KeyInspector {
    Q_OBJECT
public:
    frmInspectKey(const KeyState& keyState, Prompter& prompter, QWidget* mainWindow);

    // Shows strKeyBytes of the key record modally; true when the user chose "Yes".
    [[nodiscard]] bool InspectKey(const KeyInspectionRequest& request) override;

    // What InspectKey does before the window is shown; public so that tests can show it without blocking.
    void Prepare(const KeyInspectionRequest& request);

    bool blnUseThisKey = false;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowKey(KeyView view);
    void cmdYes_Click();

    const KeyState& keyState;
    Prompter& prompter;
    QWidget* mainWindow;
    bool newRandomKey = false;
    QLabel* lbl64Byte;
    QLabel* lblKeyFile;
    std::array<QLabel*, kKeyViewRows> lblKey;
    QRadioButton* optDecimal;
    QRadioButton* optHexadecimal;
    QRadioButton* optASCII;
    QLabel* lblChecksumIs;
    QLabel* lblRandomnessIs;
    QLabel* lblUseThisKey;
    QPushButton* cmdYes;
    QPushButton* cmdNo;
};

}  // namespace kyv::gui
