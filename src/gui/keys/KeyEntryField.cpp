#include "gui/keys/KeyEntryField.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "core/keys/Windows1252.h"
#include "gui/keys/KeyEntryFieldAccessible.h"

namespace kyv::gui {

namespace {

constexpr int kTextMargin = 2;

// Text drawn from key bytes, overwritten before its memory is given back.
class ScratchText {
public:
    ScratchText(const SecureBytes& bytes, bool masked)
        : text(masked ? QString(static_cast<qsizetype>(bytes.size()), QLatin1Char('#'))
                      : DecodeWindows1252(bytes.View()))
    {
    }
    ~ScratchText() { std::fill(text.data(), text.data() + text.size(), QChar(0)); }
    ScratchText(const ScratchText&) = delete;
    ScratchText& operator=(const ScratchText&) = delete;

    QString text;
};

}  // namespace

KeyEntryField::KeyEntryField(QWidget* parent) : QWidget(parent)
{
    InstallKeyEntryFieldAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
}

void KeyEntryField::SetMasked(bool value)
{
    masked_ = value;
    update();
}

void KeyEntryField::Clear()
{
    const bool hadText = !bytes_.empty();
    bytes_.Clear();
    cursor_ = 0;
    update();
    if (hadText) emit Changed();
}

QSize KeyEntryField::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QLatin1Char('W')) * 20, metrics.height() + 2 * (kTextMargin + 3)};
}

QSize KeyEntryField::minimumSizeHint() const { return {40, sizeHint().height()}; }

bool KeyEntryField::InsertText(const QString& text)
{
    if (!FitsWindows1252(text)) return false;
    bool inserted = false;
    for (const QChar character : text) {
        if (static_cast<int>(bytes_.size()) >= maxLength_) break;
        // Control characters (Ctrl+letter, say) are not part of a typed key.
        if (!character.isPrint()) continue;
        bytes_.Insert(cursor_++, *ToWindows1252(character.unicode()));
        inserted = true;
    }
    if (inserted) {
        update();
        emit Changed();
    }
    return true;
}

void KeyEntryField::Paste()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return;
    QString text = clipboard->text();
    // A pasted key is one line.
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!InsertText(text)) QApplication::beep();
    std::fill(text.data(), text.data() + text.size(), QChar(0));
}

void KeyEntryField::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return;
    }
    // Nothing typed here is copied or cut to the clipboard.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) return;
    switch (event->key()) {
        case Qt::Key_Backspace:
            if (cursor_ > 0) {
                bytes_.Erase(--cursor_, 1);
                update();
                emit Changed();
            }
            return;
        case Qt::Key_Delete:
            if (cursor_ < bytes_.size()) {
                bytes_.Erase(cursor_, 1);
                update();
                emit Changed();
            }
            return;
        case Qt::Key_Left:
            cursor_ = cursor_ > 0 ? cursor_ - 1 : 0;
            update();
            return;
        case Qt::Key_Right:
            cursor_ = std::min(cursor_ + 1, bytes_.size());
            update();
            return;
        case Qt::Key_Home:
            cursor_ = 0;
            update();
            return;
        case Qt::Key_End:
            cursor_ = bytes_.size();
            update();
            return;
        default:
            break;
    }
    const QString text = event->text();
    // Ctrl alone makes a shortcut; Ctrl with Alt is AltGr on Windows and types characters such as @ or €.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shortcut = modifiers.testFlag(Qt::MetaModifier) ||
                          (modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier));
    const bool typed = !text.isEmpty() && text.front().isPrint() && !shortcut;
    if (!typed) {
        // Return, Escape and the rest belong to the dialog.
        event->ignore();
        return;
    }
    if (!InsertText(text)) QApplication::beep();
}

void KeyEntryField::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    cursor_ = bytes_.size();
    update();
    event->accept();
}

void KeyEntryField::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void KeyEntryField::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void KeyEntryField::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect area = style()
                           ->subElementRect(QStyle::SE_LineEditContents, &frame, this)
                           .adjusted(kTextMargin, 0, -kTextMargin, 0);
    painter.setClipRect(area);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QFontMetrics metrics(font());
    const ScratchText shown(bytes_, masked_);
    const int cursorX = metrics.horizontalAdvance(shown.text, static_cast<int>(cursor_));
    // Scrolls left just enough to keep the cursor in view.
    const int offset = std::max(0, cursorX - area.width() + 1);
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(area.left() - offset, baseline, shown.text);
    if (hasFocus()) {
        const int x = area.left() - offset + cursorX;
        painter.drawLine(x, baseline - metrics.ascent(), x, baseline + metrics.descent());
    }
}

}  // namespace kyv::gui
