#include "gui/setup/SetupShowing.h"

#include "core/app/MainWindowModel.h"

namespace kyv::gui {

void ShowSetup(MainWindowModel& model, const std::optional<SetupFileContents>& saved)
{
    const SetupFileContents contents = saved.value_or(SetupFileContents{});
    if (saved) {
        model.Setup().folders = contents.folders;
        model.Setup().fileSpecs = contents.fileSpecs;
    }
    model.ApplySetupFlags(contents.encrypt, contents.inPlace, contents.includeSubfolders);
    model.RefreshFilesStatus();
}

}  // namespace kyv::gui
