#include "gui/launch/frmConfirmOperation.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {
constexpr int kMargin = 120;
constexpr int kDescriptionWidth = 6000;
constexpr int kColumnLeft = kMargin + kDescriptionWidth + 240;
constexpr int kColumnWidth = 2400;
constexpr int kQuestionHeight = 600;
constexpr int kButtonTop = 840;
constexpr int kButtonWidth = 1080;
constexpr int kButtonHeight = 375;
constexpr int kButtonGap = 240;
constexpr int kDialogWidth = kColumnLeft + kColumnWidth + kMargin;
constexpr int kTwipsPerLine = 360;
constexpr int kCharactersPerLine = 60;
constexpr int kRoomBelowButtons = 900;
constexpr int kAboveMainWindowBottom = 120;
constexpr int kRightOfCommandFrame = 30;
}  // namespace

frmConfirmOperation::frmConfirmOperation(QWidget* mainWindow, QWidget* commandFrame)
    : QDialog(mainWindow), mainWindow_(mainWindow), commandFrame_(commandFrame)
{
    setObjectName(QStringLiteral("frmConfirmOperation"));
    setWindowTitle(QStringLiteral("Confirm operation"));
    setModal(true);
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);

    lblDescr_ = new QLabel(this);
    lblDescr_->setObjectName(QStringLiteral("lblDescr"));
    lblDescr_->setWordWrap(true);
    lblDescr_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPerformOperation_ = new QLabel(this);
    lblPerformOperation_->setObjectName(QStringLiteral("lblPerformOperation"));
    lblPerformOperation_->setWordWrap(true);
    lblPerformOperation_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPerformOperation_->setGeometry(TwipsRect(kColumnLeft, kMargin, kColumnWidth, kQuestionHeight));
    cmdYes_ = new QPushButton(QStringLiteral("Yes"), this);
    cmdYes_->setObjectName(QStringLiteral("cmdYes"));
    cmdYes_->setGeometry(TwipsRect(kColumnLeft, kButtonTop, kButtonWidth, kButtonHeight));
    cmdNo_ = new QPushButton(QStringLiteral("No"), this);
    cmdNo_->setObjectName(QStringLiteral("cmdNo"));
    cmdNo_->setGeometry(
        TwipsRect(kColumnLeft + kButtonWidth + kButtonGap, kButtonTop, kButtonWidth, kButtonHeight));
    connect(cmdYes_, &QPushButton::clicked, this, &frmConfirmOperation::cmdYes_Click);
    connect(cmdNo_, &QPushButton::clicked, this, &frmConfirmOperation::cmdNo_Click);
    // Enter must not start an operation by accident: the user answers with a button.
    cmdYes_->setAutoDefault(false);
    cmdNo_->setAutoDefault(false);
}

int frmConfirmOperation::HeightTwips(int descriptionLength, int yesButtonBottomTwips)
{
    const int height = descriptionLength * kTwipsPerLine / kCharactersPerLine;
    return std::max(height, yesButtonBottomTwips + kRoomBelowButtons);
}

QPoint frmConfirmOperation::Placement(const QRect& mainWindowFrame, int commandFrameLeft, int dialogHeight)
{
    return QPoint(
        mainWindowFrame.left() + commandFrameLeft + Twips(kRightOfCommandFrame),
        mainWindowFrame.top() + mainWindowFrame.height() - dialogHeight - Twips(kAboveMainWindowBottom));
}

void frmConfirmOperation::Prepare(const OperationConfirmation& confirmation)
{
    UnboldControls(this);
    lblDescr_->setText(confirmation.description);
    const int heightTwips =
        HeightTwips(static_cast<int>(confirmation.description.size()), kButtonTop + kButtonHeight);
    setFixedSize(Twips(kDialogWidth), Twips(heightTwips));
    lblDescr_->setGeometry(TwipsRect(kMargin, kMargin, kDescriptionWidth, heightTwips - 2 * kMargin));
    if (mainWindow_ != nullptr) {
        const int frameLeft = commandFrame_ != nullptr ? commandFrame_->x() : 0;
        move(Placement(mainWindow_->frameGeometry(), frameLeft, height()));
    }
    repaint();
    lblPerformOperation_->setText(confirmation.question);
}

bool frmConfirmOperation::Confirm(const OperationConfirmation& confirmation)
{
    blnDoIt = false;
    Prepare(confirmation);
    exec();
    return blnDoIt;
}

void frmConfirmOperation::cmdYes_Click()
{
    blnDoIt = true;
    done(QDialog::Accepted);
}

void frmConfirmOperation::cmdNo_Click()
{
    blnDoIt = false;
    done(QDialog::Rejected);
}

void frmConfirmOperation::reject()
{
    // Escape or the window's close button: no operation.
    blnDoIt = false;
    QDialog::reject();
}

}  // namespace kyv::gui
