#pragma once
// "Purge advice": what to expect from antivirus software while a plaintext file is purged. The
// check box keeps its state for the whole program run.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kyv::gui {

class PurgeWarningDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PurgeWarningDialog(QWidget* parent = nullptr);

    QString purgeFilePath;
    bool encrypting = true;
    // False once "Don't display this advice again during this operation." is checked.
    bool showPurgeWarning = true;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateShowAgain();
    void Ok();
    // Sizes the window to the advice it shows this time.
    void LayOut();

    QLabel* messageLabel_;
    QCheckBox* dontShowAgainBox_;
    QPushButton* okButton_;
};

}  // namespace kyv::gui
