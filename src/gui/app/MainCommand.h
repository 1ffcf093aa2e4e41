#pragma once
// The main window's commands, in the order of its command column from the top. Each has its entry
// in the command table (MainWindowCommands.cpp): button, caption, help topic and what it does.

namespace kyv::gui {

enum class MainCommand {
    Function,
    SingleFile,
    InputFolder,
    InputFiles,
    Subdirectories,
    OutputFilesSame,
    OutputFolder,
    OutputFiles,
    KeyFrom,
    RandomnessReport,
    DoIt,
    ReportScreen,
    Setup,
    Help,
    Quit,
};

inline constexpr int kMainCommandCount = static_cast<int>(MainCommand::Quit) + 1;

}  // namespace kyv::gui
