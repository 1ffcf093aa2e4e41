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

class KeyStrengthIndicator;

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

    const KeyState& keyState_;
    Prompter& prompter_;
    QWidget* mainWindow_;
    bool newRandomKey_ = false;
    QLabel* lbl64Byte_;
    QLabel* keyfileLabel_;
    std::array<QLabel*, kKeyViewRows> keyRowLabels_;
    QRadioButton* decimalOption_;
    QRadioButton* hexOption_;
    QRadioButton* asciiOption_;
    QLabel* checksumLabel_;
    QLabel* randomnessLabel_;
    KeyStrengthIndicator* strength_;
    QLabel* useThisKeyLabel_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
};

}  // namespace kyv::gui
