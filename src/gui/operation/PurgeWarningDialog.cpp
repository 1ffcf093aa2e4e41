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
    dontShowAgainBox_ =
        new QCheckBox(QStringLiteral("Don't display this advice again during this operation."), this);
    dontShowAgainBox_->setObjectName(QStringLiteral("chkDontShowAgain"));
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setAutoDefault(false);
    connect(dontShowAgainBox_, &QCheckBox::clicked, this, &PurgeWarningDialog::UpdateShowAgain);
    connect(okButton_, &QPushButton::clicked, this, &PurgeWarningDialog::Ok);
    PressButtonsOnEnter(this);
}

void PurgeWarningDialog::LayOut()
{
    // Twips across; down, the advice is as tall as it wraps, with the check box and OK under it.
    constexpr int kWidth = 7080;
    constexpr int kMargin = 240;
    constexpr int kGap = 120;
    const int margin = Twips(kMargin);
    const int textWidth = Twips(kWidth - 2 * kMargin);
    const int textHeight = messageLabel_->heightForWidth(textWidth);
    messageLabel_->setGeometry(margin, margin, textWidth, textHeight);
    int top = margin + textHeight + Twips(kGap);
    dontShowAgainBox_->setGeometry(margin, top, textWidth, dontShowAgainBox_->sizeHint().height());
    top += dontShowAgainBox_->height() + Twips(kGap);
    const QSize ok = okButton_->sizeHint().expandedTo(QSize(Twips(1080), Twips(375)));
    okButton_->setGeometry(margin + textWidth - ok.width(), top, ok.width(), ok.height());
    setFixedSize(Twips(kWidth), top + ok.height() + margin);
}

void PurgeWarningDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    messageLabel_->setText(
        PurgeAdviceText(purgeFilePath, encrypting).replace(kLineBreak, QStringLiteral("\n")));
    LayOut();
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
