#include "gui/operation/PurgeWarningDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/common/LineBreak.h"
#include "core/operation/PurgeAdvice.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"

namespace kyv::gui {

PurgeWarningDialog::PurgeWarningDialog(QWidget* parent) : QDialog(parent, DialogFlags())
{
    setObjectName(QStringLiteral("frmPurgeWarning"));
    setWindowTitle(QStringLiteral("Purge advice"));
    setModal(true);
    setFont(WindowFont());
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("lblMessage"));
    messageLabel_->setWordWrap(true);
    messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel_->setGeometry(TwipsRect(240, 240, 6600, 3900));
    dontShowAgainBox_ =
        new QCheckBox(QStringLiteral("Don't display this advice again during this operation."), this);
    dontShowAgainBox_->setObjectName(QStringLiteral("chkDontShowAgain"));
    dontShowAgainBox_->setGeometry(TwipsRect(240, 4260, 5400, 300));
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setAutoDefault(false);
    okButton_->setGeometry(TwipsRect(5760, 4680, 1080, 375));
    connect(dontShowAgainBox_, &QCheckBox::clicked, this, &PurgeWarningDialog::UpdateShowAgain);
    connect(okButton_, &QPushButton::clicked, this, &PurgeWarningDialog::Ok);
    setFixedSize(Twips(7080), Twips(5400));
    PressButtonsOnEnter(this);
}

void PurgeWarningDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    messageLabel_->setText(
        PurgeAdviceText(purgeFilePath, encrypting).replace(kLineBreak, QStringLiteral("\n")));
    QApplication::beep();
    okButton_->setFocus();
}

void PurgeWarningDialog::UpdateShowAgain()
{
    showPurgeWarning = !dontShowAgainBox_->isChecked();
    if (isVisible()) okButton_->setFocus();
}

void PurgeWarningDialog::Ok()
{
    showPurgeWarning = !dontShowAgainBox_->isChecked();
    accept();
}

}  // namespace kyv::gui
