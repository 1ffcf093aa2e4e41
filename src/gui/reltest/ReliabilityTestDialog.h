#pragma once
// The question "Do it!" asks on the reliability test's own files: perform the test a number of
// times, or just encrypt them. Closing the window in any other way than "Continue" is Cancel.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kyv::gui {

class ReliabilityTestDialog final : public QDialog {
    Q_OBJECT
public:
    struct Answer {
        bool cancelled = true;
        bool performTest = false;
        // Performances asked for; an empty count is 0.
        int performances = 0;
    };

    explicit ReliabilityTestDialog(QWidget* parent);

    // Before each showing: the explanation of the test in place or into new files, "Yes, perform
    // the test." chosen, the caret after the count, and the answer Cancel until one is given.
    void Prepare(bool inPlace);
    [[nodiscard]] const Answer& Result() const { return answer_; }

    void Continue();
    void Cancel();

private:
    void ShowCount(bool shown);
    // Sizes every text from the font in use; the explanation differs from showing to showing.
    void LayOut();

    QLabel* intro_;
    QLabel* explanation_;
    QLabel* secondExplanation_;
    QRadioButton* performOption_;
    QRadioButton* noOption_;
    QLabel* countLabel_;
    QLineEdit* countBox_;
    QPushButton* continueButton_;
    QPushButton* cancelButton_;
    Answer answer_;
};

}  // namespace kyv::gui
