#include "gui/operation/PurgeWarningDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/common/LineBreak.h"
#include "core/operation/PurgeAdvice.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

PurgeWarningDialog::PurgeWarningDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPurgeWarning"));
    setWindowTitle(QStringLiteral("Purge advice"));
    setModal(true);
    setFont(WindowFont());
    messageLabel = new QLabel(this);
    messageLabel->setObjectName(QStringLiteral("lblMessage"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel->setGeometry(TwipsRect(240, 240, 6600, 3900));
    dontShowAgainBox =
        new QCheckBox(QStringLiteral("Don't display this advice again during this operation."), this);
    dontShowAgainBox->setObjectName(QStringLiteral("chkDontShowAgain"));
    dontShowAgainBox->setGeometry(TwipsRect(240, 4260, 5400, 300));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setAutoDefault(false);
    okButton->setGeometry(TwipsRect(5760, 4680, 1080, 375));
    connect(dontShowAgainBox, &QCheckBox::clicked, this, &PurgeWarningDialog::UpdateShowAgain);
    connect(okButton, &QPushButton::clicked, this, &PurgeWarningDialog::Ok);
    setFixedSize(Twips(7080), Twips(5400));
}

void PurgeWarningDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    messageLabel->setText(PurgeAdviceText(purgeFilePath, encrypting)
                            .replace(kLineBreak, QStringLiteral("\n")));
    QApplication::beep();
    okButton->setFocus();
}

void PurgeWarningDialog::UpdateShowAgain()
{
    showPurgeWarning = !dontShowAgainBox->isChecked();
    if (isVisible()) okButton->setFocus();
}

void PurgeWarningDialog::Ok()
{
    showPurgeWarning = !dontShowAgainBox->isChecked();
    accept();
}

}  // namespace kyv::gui
