#pragma once
// "Purge advice": what to expect from antivirus software while a plaintext file is purged. The
// check box keeps its state for the whole program run.

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kyv::gui {

class frmPurgeWarning final : public QDialog {
    Q_OBJECT
public:
    explicit frmPurgeWarning(QWidget* parent = nullptr);

    QString strPurgeFilePath;
    bool blnEncrypting = true;
    // False once "Don't display this advice again during this operation." is checked.
    bool blnShowPurgeWarning = true;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chkDontShowAgain_Click();
    void cmdOK_Click();

    QLabel* lblMessage;
    QCheckBox* chkDontShowAgain;
    QPushButton* cmdOK;
};

}  // namespace kyv::gui
