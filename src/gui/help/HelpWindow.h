#pragma once
// "Help for Kyv Cipher": the user guide in a resizable window over the main window, opened at a
// section with that section selected. It is made on first use and afterwards hidden and shown.

#include <QPointer>
#include <QWidget>

#include "core/help/HelpTopic.h"
#include "core/help/UserGuide.h"
#include "gui/help/HelpLauncher.h"

class QPlainTextEdit;
class QPushButton;

namespace kyv::gui {

class CreditsWindow;
class HelpLauncher;

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* mainWindow, const UserGuide& guide = UserGuide::BuiltIn());

    // Brings the window back from the task bar when it is minimised, shows it and selects the
    // topic's section (the caret at the very start for the beginning).
    void ShowAt(HelpTopic topic);
    // "Author": the credits, modal over this window.
    void ShowCredits();

    // Twips: the smallest the window may be in either direction, title bar and borders included;
    // below it, it snaps to a square of this side.
    static constexpr int kMinimumSide = 4000;
    // Twips: what the title bar and borders add to the inside of the window, as the window system
    // frames it (or the main window, before this one has a frame); the layout's measures include
    // them. Nothing without a window manager.
    [[nodiscard]] QSize FrameTwips() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceOver(const QWidget* mainWindow);
    void LayOut();
    void Select(HelpTopic topic);

    const UserGuide& guide_;
    QPlainTextEdit* text_;
    QPushButton* closeButton_;
    QPushButton* creditButton_;
    CreditsWindow* credits_;
};

// The help window over `mainWindow`, made the first time it is asked for.
class MainHelpWindow final : public HelpWindows {
public:
    explicit MainHelpWindow(QWidget* mainWindow) : mainWindow_(mainWindow) {}
    void ShowAt(HelpTopic topic) override;

private:
    QWidget* mainWindow_;
    QPointer<HelpWindow> window_;
};

}  // namespace kyv::gui
