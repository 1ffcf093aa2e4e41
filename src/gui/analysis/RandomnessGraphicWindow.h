#pragma once
// The randomness graphic window: one file's size and measure, and on request the picture of its
// byte pairs, drawn on a worker thread and shown at each tick of a 500 ms clock with a 43-cell
// progress bar. Its one button reads "Display", "Stop" or "Close" by the drawing's state; the
// picture drawn can be saved as a PNG file.

#include <QDialog>

#include "core/analysis/BytePairDrawing.h"
#include "core/analysis/RandomnessReport.h"

class QLabel;
class QPushButton;
class QTimer;

namespace kyv {
class FileDialogs;
class Prompter;
}  // namespace kyv

namespace kyv::gui {

class BytePairView;

class RandomnessGraphicWindow final : public QDialog {
    Q_OBJECT
public:
    enum class State { Ready, Drawing, Finished };

    RandomnessGraphicWindow(Prompter& prompter, FileDialogs& fileDialogs, QWidget* parent = nullptr);
    ~RandomnessGraphicWindow() override;

    // A new file: its texts, and the button back to "Display" so that the next showing starts a
    // fresh drawing.
    void Prepare(const RandomnessGraphicText& text, const platform::FilePath& filePath);

    // The button ("Display", "Stop", "Close"), public so that tests and the title bar press it.
    void DisplayPressed();
    // "Save picture": asks for a file and writes the picture drawn so far as PNG.
    void SavePicture();

    [[nodiscard]] State DrawingState() const { return state_; }
    [[nodiscard]] const BytePairView& View() const { return *view_; }

    // How long the clock waits between repaints of the bar and the picture.
    static constexpr int kClockMilliseconds = 500;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void BecameActive();
    void ClockTick();
    void DrawingEnded(DrawingOutcome outcome);
    void ShowProgress();
    void CloseFromTitleBar();

    Prompter& prompter_;
    FileDialogs& fileDialogs_;
    BytePairDrawing drawing_;
    platform::FilePath filePath_;
    qint64 length_ = 0;
    State state_ = State::Ready;

    QLabel* fileSizeLabel_;
    QLabel* randomnessLabel_;
    BytePairView* view_;
    QLabel* progressBar_;
    QPushButton* displayButton_;
    QPushButton* saveButton_;
    QTimer* clock_;
};

}  // namespace kyv::gui
