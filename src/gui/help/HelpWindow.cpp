#include "gui/help/HelpWindow.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextCursor>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"
#include "gui/help/CreditsWindow.h"
#include "gui/help/HelpLauncher.h"

namespace kyv::gui {

namespace {
// Over the main window: in from its left edge and down from its top, narrower and taller.
constexpr int kInFromMainLeft = 100;
constexpr int kDownFromMainTop = 380;
constexpr int kNarrowerThanMain = 200;
constexpr int kTallerThanMain = 480;
// The measures below are those of the whole window, title bar and borders included; Qt lays out
// the inside, which is smaller by the frame. The text box is this much narrower and lower than the
// window, with the buttons below it.
constexpr int kTextNarrower = 350;
constexpr int kTextLower = 1200;
constexpr int kTextTop = 120;
constexpr int kButtonsAboveBottom = 920;
constexpr int kButtonsFromSide = 500;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
}  // namespace

HelpWindow::HelpWindow(QWidget* mainWindow, const UserGuide& guide)
    : QWidget(mainWindow, Qt::Window), guide_(guide)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help for Kyv Cipher"));
    setFont(WindowFont());

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("txbText"));
    text_->setReadOnly(true);
    // Read-only, yet the caret shows where the guide was opened, and the keys move it.
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setPlainText(guide_.Text());

    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("cmdClose"));
    creditButton_ = new QPushButton(QStringLiteral("Author"), this);
    creditButton_->setObjectName(QStringLiteral("cmdCredit"));
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
    connect(creditButton_, &QPushButton::clicked, this, &HelpWindow::ShowCredits);
    text_->setAccessibleName(QStringLiteral("User guide"));
    // Tab leaves the guide for the buttons; the guide itself is read, never typed in.
    text_->setTabChangesFocus(true);
    // "Author" stands left of "Close": Tab goes from the guide to it first.
    setTabOrder(text_, creditButton_);
    setTabOrder(creditButton_, closeButton_);
    PressButtonsOnEnter(this);
    CloseOnEscape(this, [this] { hide(); });

    credits_ = new CreditsWindow(this);
    connect(credits_, &QDialog::finished, closeButton_,
            [this] { closeButton_->setFocus(Qt::OtherFocusReason); });

    UnboldControls(this);
    if (mainWindow != nullptr) PlaceOver(mainWindow);
    LayOut();
}

void HelpWindow::PlaceOver(const QWidget* mainWindow)
{
    const QRect frame = mainWindow->frameGeometry();
    move(frame.left() + Twips(kInFromMainLeft), frame.top() + Twips(kDownFromMainTop));
    resize(mainWindow->width() - Twips(kNarrowerThanMain), mainWindow->height() + Twips(kTallerThanMain));
}

QSize HelpWindow::FrameTwips() const
{
    const QSize frame = FramedSize(this, parentWidget()) - size();
    return {ToTwips(frame.width()), ToTwips(frame.height())};
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized()) return;
    const QSize frame = FrameTwips();
    const int smallestWidth = Twips(kMinimumSide - frame.width());
    const int smallestHeight = Twips(kMinimumSide - frame.height());
    if (width() < smallestWidth || height() < smallestHeight) {
        resize(smallestWidth, smallestHeight);
        return;
    }
    LayOut();
}

void HelpWindow::LayOut()
{
    // The whole window's measures, from which the inside's follow.
    const QSize frame = FrameTwips();
    const int widthTwips = ToTwips(width()) + frame.width();
    const int heightTwips = ToTwips(height()) + frame.height();
    const int textLeft = (kTextNarrower - frame.width()) / 2;
    text_->setGeometry(TwipsRect(textLeft, kTextTop, widthTwips - kTextNarrower, heightTwips - kTextLower));
    const int buttonTop = heightTwips - kButtonsAboveBottom;
    const int buttonsFromSide = kButtonsFromSide - frame.width() / 2;
    closeButton_->setGeometry(TwipsRect(widthTwips - frame.width() - buttonsFromSide - kButtonWidth,
                                        buttonTop, kButtonWidth, kButtonHeight));
    creditButton_->setGeometry(TwipsRect(buttonsFromSide, buttonTop, kButtonWidth, kButtonHeight));
}

void HelpWindow::ShowAt(HelpTopic topic)
{
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    Select(topic);
}

void HelpWindow::Select(HelpTopic topic)
{
    const UserGuide::Selection selection = guide_.SelectionAt(topic);
    QTextCursor cursor(text_->document());
    // From the end first, so that the text box scrolls the heading to its top line rather than
    // just into view at the bottom.
    cursor.movePosition(QTextCursor::End);
    text_->setTextCursor(cursor);
    text_->ensureCursorVisible();
    cursor.setPosition(selection.start + selection.length);
    cursor.setPosition(selection.start, QTextCursor::KeepAnchor);
    text_->setTextCursor(cursor);
    text_->ensureCursorVisible();
    text_->setFocus(Qt::OtherFocusReason);
}

void HelpWindow::ShowCredits()
{
    credits_->Place(frameGeometry());
    credits_->open();
}

void MainHelpWindow::ShowAt(HelpTopic topic)
{
    if (window_ == nullptr) window_ = new HelpWindow(mainWindow_);
    window_->ShowAt(topic);
}

}  // namespace kyv::gui
