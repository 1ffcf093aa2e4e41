#include "gui/help/HelpLauncher.h"

namespace kyv::gui {

void HelpLauncher::OpenAt(HelpTopic topic)
{
    startTopic_ = topic;
    OpenAgain();
}

void HelpLauncher::OpenAgain() const { windows_.ShowAt(startTopic_); }

}  // namespace kyv::gui
