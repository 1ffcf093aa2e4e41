#include "gui/operation/frmPurgeWarning.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/operation/PurgeAdvice.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

frmPurgeWarning::frmPurgeWarning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPurgeWarning"));
    setWindowTitle(QStringLiteral("Purge advice"));
    setModal(true);
    setFont(WindowFont());
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessage->setGeometry(TwipsRect(240, 240, 6600, 3900));
    chkDontShowAgain =
        new QCheckBox(QStringLiteral("Don't display this advice again during this operation."), this);
    chkDontShowAgain->setObjectName(QStringLiteral("chkDontShowAgain"));
    chkDontShowAgain->setGeometry(TwipsRect(240, 4260, 5400, 300));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdOK->setGeometry(TwipsRect(5760, 4680, 1080, 375));
    connect(chkDontShowAgain, &QCheckBox::clicked, this, &frmPurgeWarning::chkDontShowAgain_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmPurgeWarning::cmdOK_Click);
    setFixedSize(Twips(7080), Twips(5400));
}

void frmPurgeWarning::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    lblMessage->setText(PurgeAdviceText(strPurgeFilePath, blnEncrypting)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QApplication::beep();
    cmdOK->setFocus();
}

void frmPurgeWarning::chkDontShowAgain_Click()
{
    blnShowPurgeWarning = !chkDontShowAgain->isChecked();
    if (isVisible()) cmdOK->setFocus();
}

void frmPurgeWarning::cmdOK_Click()
{
    blnShowPurgeWarning = !chkDontShowAgain->isChecked();
    accept();
}

}  // namespace kyv::gui
