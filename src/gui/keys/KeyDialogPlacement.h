#pragma once

class QWidget;

namespace kyv::gui {

// Width of the typing dialogs when there is no main window to match (tests).
inline constexpr int kTypingDialogDefaultWidth = 640;

// The inside width that gives a typing dialog the main window's frame width.
[[nodiscard]] int TypingDialogWidth(const QWidget* mainWindow);

// The typing dialogs: as wide as the main window, on its left edge, their bottom 120 twips above
// its bottom edge (frames included).
void PlaceAlongMainWindowBottom(QWidget* dialog, const QWidget* mainWindow);

// Key windows of the keyfile commands: in the main window's bottom right corner, 120 twips in.
void PlaceInMainWindowCorner(QWidget* dialog, const QWidget* mainWindow);

}  // namespace kyv::gui
