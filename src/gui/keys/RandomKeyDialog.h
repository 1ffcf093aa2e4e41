#pragma once
// "Create random key": the window that gathers a random key while the user moves the pointer
// within and across it or presses keys, one character per 250 ms sample that finds a movement or a
// key press, and closes itself after the 64th. Escape closes it early, as its frame does. What the samples
// become is decided by RandomKeyGathering.

#include <QDialog>

#include "core/common/Clock.h"
#include "core/keys/RandomKeyGathering.h"
#include "core/keys/RandomKeySource.h"

class QLabel;
class QTimer;

namespace kyv::gui {

class RandomKeyDialog : public QDialog, public RandomKeySource {
    Q_OBJECT
public:
    // `clock` gives the time of day of each sample; `mainWindow` places the window in its corner.
    RandomKeyDialog(const Clock& clock, QWidget* mainWindow);

    // Shows the window modally until the key is complete or the window is closed.
    [[nodiscard]] SecureBytes GatherRandomKey() override;

    // What GatherRandomKey does before the window is shown; public so that tests can show it
    // without blocking.
    void Prepare();
    // One tick of the sampling timer (tests drive it directly).
    void Sample();
    [[nodiscard]] const RandomKeyGathering& Gathering() const { return gathering_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    const Clock& clock_;
    QWidget* mainWindow_;
    RandomKeyGathering gathering_;
    QLabel* progressLabel_;
    QTimer* sampleTimer_;
};

}  // namespace kyv::gui
