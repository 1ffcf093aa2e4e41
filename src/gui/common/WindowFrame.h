#pragma once
// Placing a window by its frame before the window manager has framed it. Until a window is
// shown, Qt knows only its inside; a dialog placed by that size sits a title bar lower than meant.

#include <QSize>
#include <Qt>

class QWidget;

namespace kyv::gui {

// Title bar and borders of a window of this program: what `framedWindow` (shown, so framed) adds
// to its inside. Zero without a window manager.
[[nodiscard]] QSize FrameExtra(const QWidget* framedWindow);

// The size `window` has, or will have once shown, with its frame: its own frame when it has one,
// else its inside plus the frame that `framedWindow` has.
[[nodiscard]] QSize FramedSize(const QWidget* window, const QWidget* framedWindow);

// Window flags of a dialog: a title and a close button, no maximise or minimise button.
[[nodiscard]] Qt::WindowFlags DialogFlags();

}  // namespace kyv::gui
