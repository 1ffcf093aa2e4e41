#pragma once
// "Author": the program's authorship notice and the licences of the libraries it uses, modal over
// the help window.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace kyv::gui {

class CreditsWindow final : public QDialog {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* helpWindow);

    // Centres the window on the help window's frame, a little to the right.
    void Place(const QRect& helpFrame);

private:
    // The notice and "Close" by the window's frame as the window system has it.
    void LayOut();

    QPlainTextEdit* notice_;
    QPushButton* closeButton_;
};

}  // namespace kyv::gui
