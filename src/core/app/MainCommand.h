#pragma once
// The main window's command column, top to bottom, and the help section of each command.

#include <array>

namespace kyv {

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

inline constexpr int kMainCommandCount = 15;

struct MainCommandInfo {
    MainCommand command;
    const char* objectName;
    const char* caption;
    int helpSection;  // opened by a right click
};

inline constexpr std::array<MainCommandInfo, kMainCommandCount> kMainCommands = {{
    {MainCommand::Function, "cmdFunction", "Function", 1},
    {MainCommand::SingleFile, "cmdSingleFile", "Single file", 2},
    {MainCommand::InputFolder, "cmdSpecifyDirectory_0", "Input folder", 3},
    {MainCommand::InputFiles, "cmdSpecifyFiles_0", "Input file(s)", 3},
    {MainCommand::Subdirectories, "cmdSubdirectories", "Subfolders?", 4},
    {MainCommand::OutputFilesSame, "cmdOutputFilesSame", "Output file(s) same?", 5},
    {MainCommand::OutputFolder, "cmdSpecifyDirectory_1", "Output folder", 6},
    {MainCommand::OutputFiles, "cmdSpecifyFiles_1", "Output file(s)", 6},
    {MainCommand::KeyFrom, "cmdKeyFrom", "Encryption key", 7},
    {MainCommand::RandomnessReport, "cmdRandomnessReport", "Randomness report", 10},
    {MainCommand::DoIt, "cmdDoIt", "Do it!", 8},
    {MainCommand::ReportScreen, "cmdReportScreen", "Report screen", 9},
    {MainCommand::Setup, "cmdSetup", "Setup", 11},
    {MainCommand::Help, "cmdHelp", "Help", 13},
    {MainCommand::Quit, "cmdQuit", "Quit", 14},
}};

inline constexpr const MainCommandInfo& InfoOf(MainCommand command)
{
    return kMainCommands[static_cast<int>(command)];
}

}  // namespace kyv
