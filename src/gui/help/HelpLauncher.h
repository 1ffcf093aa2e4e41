#pragma once
// Where the help window opens, and the call that shows it there. The main window opens it at a
// command's topic (a right click, the Help button) or again where it was last opened (F1).

#include <functional>

#include "core/help/HelpTopic.h"

namespace kyv::gui {

class HelpLauncher {
public:
    // Shows the help window at `topic`, which later calls of OpenAgain open at too.
    void OpenAt(HelpTopic topic);
    // Shows the help window at the topic last opened (the beginning at first).
    void OpenAgain() const;

    [[nodiscard]] HelpTopic StartTopic() const { return startTopic_; }

    // Shows the help window at a topic (the main window attaches its help window here); empty, the
    // command does nothing more. Tests record the topics here.
    std::function<void(HelpTopic)> showWindow;

private:
    HelpTopic startTopic_ = HelpTopic::Beginning;
};

}  // namespace kyv::gui
