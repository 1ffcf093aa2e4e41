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

class KeyInspectionDialog : public QDialog, public KeyInspector {
    Q_OBJECT
public:
    KeyInspectionDialog(const KeyState& keyState, Prompter& prompter, QWidget* mainWindow);

    // Shows rawKeyBytes of the key record modally; true when the user chose "Yes".
    [[nodiscard]] bool InspectKey(const KeyInspectionRequest& request) override;

    // What InspectKey does before the window is shown; public so that tests can show it without blocking.
    void Prepare(const KeyInspectionRequest& request);

    bool useThisKey = false;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowKey(KeyView view);
    void Yes();

    const KeyState& keyState;
    Prompter& prompter;
    QWidget* mainWindow;
    bool newRandomKey = false;
    QLabel* lbl64Byte;
    QLabel* keyfileLabel;
    std::array<QLabel*, kKeyViewRows> keyRowLabels;
    QRadioButton* decimalOption;
    QRadioButton* hexOption;
    QRadioButton* asciiOption;
    QLabel* checksumLabel;
    QLabel* randomnessLabel;
    QLabel* useThisKeyLabel;
    QPushButton* yesButton;
    QPushButton* noButton;
};

}  // namespace kyv::gui
