#pragma once
// Colours and fonts of the program's windows.

#include <QColor>
#include <QFont>

class QWidget;
class QLabel;

namespace kyv::gui {

inline const QColor kMainBackground(0, 0, 192);
inline const QColor kValueText(255, 255, 0);
inline const QColor kExplanationText(255, 255, 255);
inline const QColor kDialogBackground(255, 128, 255);

// Tahoma 9.75 pt, or the nearest sans-serif font the system has.
QFont WindowFont();
// Courier New, or the system's fixed-pitch font.
QFont FixedFont();

void SetBackground(QWidget* widget, const QColor& colour);
void MakeValueLabel(QLabel* label);
void MakeExplanationLabel(QLabel* label);

// Every label, button, check box, text box, option button and combo box of the window in
// non-bold type.
void UnboldControls(QWidget* window);

}  // namespace kyv::gui
