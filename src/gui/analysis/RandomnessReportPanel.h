#pragma once
// The randomness report's sub-panel of the main window: "Input file(s)", "Output file(s)" and
// "Not now". A side button acts on its release (the right button asks for help); "Not now" closes
// the panel.

#include <QWidget>

#include "core/help/HelpTopic.h"

class QPushButton;

namespace kyv::gui {

class CommandButton;

class RandomnessReportPanel final : public QWidget {
    Q_OBJECT
public:
    explicit RandomnessReportPanel(QWidget* mainWindow);

    // Shows the panel with its top-left corner at `topLeft`, each side button enabled exactly
    // when that side is specified; the first enabled button gets the focus.
    void Open(QPoint topLeft, bool inputSpecified, bool outputSpecified);

    [[nodiscard]] CommandButton* SideButton(int side) const { return sideButtons_[side]; }
    [[nodiscard]] QPushButton* NotNowButton() const { return notNow_; }

signals:
    void SideChosen(int side);
    void NotNowPressed();
    void HelpRequested(kyv::HelpTopic topic);

private:
    CommandButton* sideButtons_[2] = {};
    QPushButton* notNow_ = nullptr;
};

}  // namespace kyv::gui
