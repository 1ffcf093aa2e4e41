#pragma once
// Placing a window by its frame before the window manager has framed it. Until a window is
// shown, Qt knows only its inside; a dialog placed by that size sits a title bar lower than meant.

#include <QPoint>
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

// Puts `window`'s frame with its top left corner at `frameTopLeft`. Once framed, a window is moved
// by its frame; before, its inside is placed where the frame of `framedWindow` would put it, since
// window managers differ in how they read a frame position asked for before the frame exists.
void PlaceFrame(QWidget* window, const QPoint& frameTopLeft, const QWidget* framedWindow);

// Window flags of a dialog: a title and a close button, no maximise or minimise button.
[[nodiscard]] Qt::WindowFlags DialogFlags();

// Window flags of a top-level window of one fixed size: a title, minimise and close buttons, and
// no maximise button, which could do nothing.
[[nodiscard]] Qt::WindowFlags FixedSizeWindowFlags();

}  // namespace kyv::gui
