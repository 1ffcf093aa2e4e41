#include "gui/keys/RandomKeyDialog.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/common/AccessibleProgress.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/keys/KeyDialogPlacement.h"

namespace kyv::gui {

namespace {

constexpr int kWidthTwips = 6195;
constexpr int kHeightTwips = 3105;

// The progress blocks are drawn in the "Terminal" font where the system has it, else in the
// fixed-pitch font.
QFont ProgressFont()
{
    QFont font(QStringLiteral("Terminal"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch() || QFontInfo(font).family() != font.family()) return FixedFont();
    return font;
}

// The progress font, made smaller where a row of `text` would not fit `room` pixels.
QFont ProgressFontFitting(const QString& text, int room)
{
    QFont font = ProgressFont();
    constexpr double kStep = 0.25;
    constexpr double kSmallest = 5.0;
    while (font.pointSizeF() - kStep >= kSmallest && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - kStep);
    return font;
}

}  // namespace

RandomKeyDialog::RandomKeyDialog(const Clock& clock, QWidget* mainWindow)
    : QDialog(mainWindow),
      clock_(clock),
      mainWindow_(mainWindow),
      progressLabel_(new QLabel(this)),
      sampleTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmRandomKey"));
    setWindowTitle(QStringLiteral("Create random key"));
    setFont(WindowFont());
    setFixedSize(Twips(kWidthTwips), Twips(kHeightTwips));
    // Every movement over the window counts, also over its labels.
    setMouseTracking(true);
    auto* explanation = new QLabel(
        QStringLiteral("To create a random key move the mouse cursor rapidly and randomly within and "
                       "across this window."),
        this);
    explanation->setObjectName(QStringLiteral("Label1"));
    explanation->setWordWrap(true);
    auto* keyboardHint =
        new QLabel(QStringLiteral("Pressing keys at random works as well: each key press counts as a "
                                  "movement."),
                   this);
    keyboardHint->setObjectName(QStringLiteral("keyboardHint"));
    keyboardHint->setWordWrap(true);
    progressLabel_->setObjectName(QStringLiteral("lblProgressBar"));
    progressLabel_->setFont(ProgressFont());
    progressLabel_->setTextFormat(Qt::PlainText);
    progressLabel_->setAlignment(Qt::AlignCenter);
    ShowAsProgressBar(progressLabel_, QStringLiteral("Characters of the random key"), kRandomKeyLength);
    for (QLabel* label : {explanation, keyboardHint, progressLabel_})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The window itself takes the key presses: it has no control that could take the focus.
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(keyboardHint);
    layout->addWidget(progressLabel_);
    sampleTimer_->setObjectName(QStringLiteral("Clock"));
    sampleTimer_->setInterval(kRandomKeySampleMilliseconds);
    connect(sampleTimer_, &QTimer::timeout, this, &RandomKeyDialog::Sample);
}

void RandomKeyDialog::Prepare()
{
    UnboldControls(this);
    gathering_.Start();
    progressLabel_->setText(gathering_.Progress());
    SetProgressValue(progressLabel_, 0);
    const QMargins margins = layout()->contentsMargins();
    progressLabel_->setFont(
        ProgressFontFitting(progressLabel_->text(), width() - margins.left() - margins.right()));
    PlaceInMainWindowCorner(this, mainWindow_);
    sampleTimer_->start();
}

SecureBytes RandomKeyDialog::GatherRandomKey()
{
    Prepare();
    exec();
    return gathering_.TakeKey();
}

void RandomKeyDialog::Sample()
{
    if (!gathering_.Sample(clock_.Now().time())) return;
    progressLabel_->setText(gathering_.Progress());
    SetProgressValue(progressLabel_, static_cast<int>(gathering_.Gathered()));
    if (gathering_.Complete()) accept();
}

void RandomKeyDialog::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    // In 64 bits: a pointer held down may be reported far outside the window.
    gathering_.PointerMoved(std::int64_t{position.x()} * kTwipsPerPixel,
                            std::int64_t{position.y()} * kTwipsPerPixel);
    QDialog::mouseMoveEvent(event);
}

void RandomKeyDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the window as its frame does; a key held down is one press.
    if (event->key() == Qt::Key_Escape || event->isAutoRepeat()) {
        QDialog::keyPressEvent(event);
        return;
    }
    gathering_.KeyPressed(event->key());
    event->accept();
}

void RandomKeyDialog::hideEvent(QHideEvent* event)
{
    sampleTimer_->stop();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
