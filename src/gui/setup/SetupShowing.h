#pragma once
// Showing a setup read from a setup file in the main window. Start-up shows the next-run setup
// this way; loading an operation file from the setup panel is to do the same.

#include <optional>

#include "core/setup/SetupFile.h"

namespace kyv {
class MainWindowModel;
}

namespace kyv::gui {

// Takes the setup's folders and specifications, applies its three flags through the window's own
// commands (so that labels and dependent state follow, whatever the ignore-clicks guard says) and
// rewrites both status lines. Without a setup the flags take their start values.
void ShowSetup(MainWindowModel& model, const std::optional<SetupFileContents>& saved);

}  // namespace kyv::gui
