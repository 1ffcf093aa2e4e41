#pragma once
// Where the help window opens, and the windows that show it there. The main window opens it at a
// command's topic (a right click, the Help button) or again where it was last opened (F1).

#include "core/help/HelpTopic.h"

namespace kyv::gui {

// Shows the help window at a topic: the main window's help window in the program; tests record
// the topics.
class HelpWindows {
public:
    virtual ~HelpWindows() = default;
    virtual void ShowAt(HelpTopic topic) = 0;
};

class HelpLauncher {
public:
    explicit HelpLauncher(HelpWindows& windows) : windows_(windows) {}

    // Shows the help window at `topic`, which later calls of OpenAgain open at too.
    void OpenAt(HelpTopic topic);
    // Shows the help window at the topic last opened (the beginning at first).
    void OpenAgain() const;

    [[nodiscard]] HelpTopic StartTopic() const { return startTopic_; }

private:
    HelpWindows& windows_;
    HelpTopic startTopic_ = HelpTopic::Beginning;
};

}  // namespace kyv::gui
