#include "gui/help/CreditsWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "core/help/CreditsNotice.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"

namespace kyv::gui {

namespace {
constexpr int kWidth = 7200;
constexpr int kHeight = 6000;
constexpr int kMargin = 120;
// Above the bottom of the whole window, title bar and borders included.
constexpr int kButtonAboveBottom = 950;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kRightOfCentre = 150;
}  // namespace

CreditsWindow::CreditsWindow(QWidget* helpWindow) : QDialog(helpWindow)
{
    setObjectName(QStringLiteral("frmCredits"));
    setWindowTitle(QStringLiteral("Author"));
    setFont(WindowFont());
    setFixedSize(Twips(kWidth), Twips(kHeight));

    notice_ = new QPlainTextEdit(this);
    notice_->setObjectName(QStringLiteral("txbMsg"));
    notice_->setReadOnly(true);
    notice_->setPlainText(CreditsNotice());
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("cmdClose"));
    LayOut();
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    notice_->setAccessibleName(QStringLiteral("Authorship notice"));
    notice_->setTabChangesFocus(true);
    PressButtonsOnEnter(this);
    UnboldControls(this);
}

void CreditsWindow::LayOut()
{
    // The button's place counts from the whole window's bottom: the inside ends a frame higher.
    const int frameHeight = ToTwips((FramedSize(this, parentWidget()) - size()).height());
    const int buttonTop = kHeight + frameHeight - kButtonAboveBottom;
    notice_->setGeometry(TwipsRect(kMargin, kMargin, kWidth - 2 * kMargin, buttonTop - 2 * kMargin));
    closeButton_->setGeometry(TwipsRect((kWidth - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight));
}

void CreditsWindow::Place(const QRect& helpFrame)
{
    LayOut();
    move(helpFrame.left() + (helpFrame.width() - width()) / 2 + Twips(kRightOfCentre),
         helpFrame.top() + (helpFrame.height() - height()) / 2);
}

}  // namespace kyv::gui
