#include "gui/common/Style.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace kyv::gui {

QFont WindowFont()
{
    // The captions are laid out for Tahoma's width; where it is missing, a font of Arial's
    // metrics keeps them inside their buttons.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    return font;
}

QFont FixedFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(9.75);
    return font;
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

namespace {
void Colour(QLabel* label, const QColor& colour, bool bold)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
}
}  // namespace

void MakeValueLabel(QLabel* label) { Colour(label, kValueText, true); }

void MakeExplanationLabel(QLabel* label) { Colour(label, kExplanationText, false); }

void UnboldControls(QWidget* window)
{
    const auto controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control) ||
            qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
            qobject_cast<QTextEdit*>(control) || qobject_cast<QComboBox*>(control)) {
            QFont font = control->font();
            font.setBold(false);
            control->setFont(font);
        }
    }
}

}  // namespace kyv::gui
