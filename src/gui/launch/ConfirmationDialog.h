#pragma once
// "Confirm operation": the description of what "Do it!" is about to do, and Yes or No. Hidden,
// not destroyed, after each answer; the description is rebuilt every time it is shown.

#include <QDialog>
#include <QPoint>
#include <QRect>

#include "core/launch/Confirmer.h"

class QLabel;
class QPushButton;

namespace kyv::gui {

class ConfirmationDialog final : public QDialog, public Confirmer {
    Q_OBJECT
public:
    // `mainWindow` and its `commandFrame` place the dialog.
    ConfirmationDialog(QWidget* mainWindow, QWidget* commandFrame);

    // Prepare, then wait for Yes or No; true for Yes.
    [[nodiscard]] bool Confirm(const OperationConfirmation& confirmation) override;
    // Sets the texts, the height that fits the description and the place over the main window.
    void Prepare(const OperationConfirmation& confirmation);

    void Yes();
    void No();

    // True when the last answer was Yes; closing the dialog otherwise is No.
    bool confirmed = false;

    // Twips of the inside: the description's laid-out height or the buttons, whichever reaches
    // lower, with one margin above and below.
    [[nodiscard]] static int HeightTwips(int descriptionHeightTwips, int yesButtonBottomTwips);
    // Pixels: the dialog's bottom 120 twips above the main window's, its left 30 twips right of
    // the command frame's.
    [[nodiscard]] static QPoint Placement(const QRect& mainWindowFrame, int commandFrameLeft,
                                          int dialogHeight);

protected:
    void reject() override;
    // On coming to the front the focus shows, as after a Tab.
    void changeEvent(QEvent* event) override;

private:
    QWidget* mainWindow_;
    QWidget* commandFrame_;
    QLabel* description_;
    QLabel* question_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
};

}  // namespace kyv::gui
