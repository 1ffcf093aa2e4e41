#include "gui/launch/ConfirmationDialog.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"

namespace kyv::gui {

namespace {
// Twips. One column: the description, the question under it, and the buttons under the question.
constexpr int kMargin = 120;
constexpr int kDescriptionWidth = 6000;
constexpr int kGap = 120;
constexpr int kButtonWidth = 1080;
constexpr int kButtonHeight = 375;
constexpr int kButtonGap = 240;
constexpr int kDialogWidth = kMargin + kDescriptionWidth + kMargin;
constexpr int kAboveMainWindowBottom = 120;
constexpr int kRightOfCommandFrame = 30;
}  // namespace

ConfirmationDialog::ConfirmationDialog(QWidget* mainWindow, QWidget* commandFrame)
    : QDialog(mainWindow, DialogFlags()), mainWindow_(mainWindow), commandFrame_(commandFrame)
{
    setObjectName(QStringLiteral("frmConfirmOperation"));
    setWindowTitle(QStringLiteral("Confirm operation"));
    setModal(true);
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);

    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("lblDescr"));
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("lblPerformOperation"));
    question_->setWordWrap(true);
    question_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    yesButton_ = new QPushButton(QStringLiteral("Yes"), this);
    yesButton_->setObjectName(QStringLiteral("cmdYes"));
    noButton_ = new QPushButton(QStringLiteral("No"), this);
    noButton_->setObjectName(QStringLiteral("cmdNo"));
    connect(yesButton_, &QPushButton::clicked, this, &ConfirmationDialog::Yes);
    connect(noButton_, &QPushButton::clicked, this, &ConfirmationDialog::No);
    // Enter must not start an operation by accident: the user answers with a button.
    yesButton_->setAutoDefault(false);
    noButton_->setAutoDefault(false);
    // Enter on the button that has the focus answers with it; Escape is "No".
    PressButtonsOnEnter(this);
}

int ConfirmationDialog::HeightTwips(int descriptionHeightTwips, int yesButtonBottomTwips)
{
    // The inside only: the window manager's title bar comes on top, so no room is kept for it.
    return std::max(kMargin + descriptionHeightTwips, yesButtonBottomTwips) + kMargin;
}

QPoint ConfirmationDialog::Placement(const QRect& mainWindowFrame, int commandFrameLeft, int dialogHeight)
{
    return QPoint(
        mainWindowFrame.left() + commandFrameLeft + Twips(kRightOfCommandFrame),
        mainWindowFrame.top() + mainWindowFrame.height() - dialogHeight - Twips(kAboveMainWindowBottom));
}

void ConfirmationDialog::Prepare(const OperationConfirmation& confirmation)
{
    UnboldControls(this);
    description_->setText(confirmation.description);
    // The description's and the question's heights as the labels lay them out in their font, not
    // a guess from their length.
    const int descriptionHeight = ToTwips(description_->heightForWidth(Twips(kDescriptionWidth)));
    const int questionHeight = ToTwips(question_->fontMetrics()
                                           .boundingRect(QRect(0, 0, Twips(kDescriptionWidth), 1 << 16),
                                                         Qt::TextWordWrap, confirmation.question)
                                           .height());
    const int questionTop = kMargin + descriptionHeight + kGap;
    const int buttonTop = questionTop + questionHeight + kGap;
    const int heightTwips = HeightTwips(descriptionHeight, buttonTop + kButtonHeight);
    setFixedSize(Twips(kDialogWidth), Twips(heightTwips));
    description_->setGeometry(TwipsRect(kMargin, kMargin, kDescriptionWidth, descriptionHeight));
    question_->setGeometry(TwipsRect(kMargin, questionTop, kDescriptionWidth, questionHeight));
    yesButton_->setGeometry(TwipsRect(kMargin, buttonTop, kButtonWidth, kButtonHeight));
    noButton_->setGeometry(
        TwipsRect(kMargin + kButtonWidth + kButtonGap, buttonTop, kButtonWidth, kButtonHeight));
    // The dialog opens with the focus on the first answer.
    yesButton_->setFocus(Qt::OtherFocusReason);
    if (mainWindow_ != nullptr) {
        const int frameLeft = commandFrame_ != nullptr ? commandFrame_->x() : 0;
        PlaceFrame(this,
                   Placement(mainWindow_->frameGeometry(), frameLeft, FramedSize(this, mainWindow_).height()),
                   mainWindow_);
    }
    repaint();
    question_->setText(confirmation.question);
}

bool ConfirmationDialog::Confirm(const OperationConfirmation& confirmation)
{
    confirmed = false;
    Prepare(confirmation);
    exec();
    return confirmed;
}

void ConfirmationDialog::Yes()
{
    confirmed = true;
    done(QDialog::Accepted);
}

void ConfirmationDialog::No()
{
    confirmed = false;
    done(QDialog::Rejected);
}

void ConfirmationDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // Styles draw a button's focus only after keyboard use; activation clears that mark.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget* focused = focusWidget()) focused->update();
    }
}

void ConfirmationDialog::reject()
{
    // Escape or the window's close button: no operation.
    confirmed = false;
    QDialog::reject();
}

}  // namespace kyv::gui
