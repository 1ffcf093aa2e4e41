#pragma once
// The main window's command table: for each command its button, caption, help topic and what a
// left click does. The table itself is in MainWindowCommands.cpp, checked there at compile time.

#include "core/help/HelpTopic.h"
#include "gui/app/MainCommand.h"

namespace kyv::gui {

class MainWindow;

struct MainCommandEntry {
    MainCommand command;
    // Tests and screenshot scripts find the buttons by these names.
    const char* objectName;
    const char* caption;
    // Opened by a right click.
    HelpTopic help;
    // False for the one command that acts while clicks are ignored ("Quit").
    bool honoursIgnoreClicks;
    // A left click; null for a command not built yet (it only honours the guard and opens help).
    void (MainWindow::*perform)();
};

[[nodiscard]] const MainCommandEntry& EntryOf(MainCommand command);

}  // namespace kyv::gui
