#pragma once
// A label drawn as a bar of cells (the random-key window's blocks, the graphic window's bar) is a
// progress bar to assistive technology: it has the progress bar's role, a name that says what it
// measures, and exposes its value and maximum instead of the block characters it shows.

class QLabel;
class QString;

namespace kyv::gui {

void ShowAsProgressBar(QLabel* label, const QString& name, int maximum);
// The value the bar now shows, 0 to its maximum.
void SetProgressValue(QLabel* label, int value);

}  // namespace kyv::gui
