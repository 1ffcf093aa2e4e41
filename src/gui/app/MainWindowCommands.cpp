// The main window's command table, the common behaviour of its buttons, and the commands that
// only change a flag of the setup, open help or end the program.

#include <array>

#include "core/common/OperationSetup.h"
#include "gui/app/MainCommandTable.h"
#include "gui/app/MainWindow.h"

namespace kyv::gui {

namespace {

using enum MainCommand;

constexpr std::array<MainCommandEntry, kMainCommandCount> kCommands = {{
    {Function, "cmdFunction", "Function", HelpTopic::Function, true, &MainWindow::ToggleFunction},
    {SingleFile, "cmdSingleFile", "Single file", HelpTopic::SingleFile, true, &MainWindow::ChooseSingleFile},
    {InputFolder, "cmdSpecifyDirectory_0", "Input folder", HelpTopic::SpecifyingInputFiles, true,
     &MainWindow::ChooseInputFolder},
    {InputFiles, "cmdSpecifyFiles_0", "Input file(s)", HelpTopic::SpecifyingInputFiles, true,
     &MainWindow::ChooseInputFiles},
    {Subdirectories, "cmdSubdirectories", "Subfolders?", HelpTopic::IncludingSubfolders, true,
     &MainWindow::ToggleSubfolders},
    {OutputFilesSame, "cmdOutputFilesSame", "Output file(s) same?", HelpTopic::OutputSameAsInput, true,
     &MainWindow::ToggleOutputFilesSame},
    {OutputFolder, "cmdSpecifyDirectory_1", "Output folder", HelpTopic::SpecifyingOutputFiles, true,
     &MainWindow::ChooseOutputFolder},
    {OutputFiles, "cmdSpecifyFiles_1", "Output file(s)", HelpTopic::SpecifyingOutputFiles, true,
     &MainWindow::ChooseOutputFiles},
    {KeyFrom, "cmdKeyFrom", "Encryption key", HelpTopic::SupplyingTheKey, true, &MainWindow::OpenKeyPanel},
    {RandomnessReport, "cmdRandomnessReport", "Randomness report", HelpTopic::RandomnessReport, true,
     &MainWindow::OpenRandomnessReport},
    {DoIt, "cmdDoIt", "Do it!", HelpTopic::PerformingTheOperation, true, &MainWindow::DoIt},
    {ReportScreen, "cmdReportScreen", "Report screen", HelpTopic::ReportScreen, true,
     &MainWindow::ShowReportScreen},
    {Setup, "cmdSetup", "Setup", HelpTopic::SavingSetup, true, &MainWindow::OpenSetupPanel},
    {Help, "cmdHelp", "Help", HelpTopic::UsingHelp, true, &MainWindow::OpenHelp},
    {Quit, "cmdQuit", "Quit", HelpTopic::Exiting, false, &MainWindow::Quit},
}};

// Every command has its entry, at the row of its enumerator, with a button name and a caption.
constexpr bool TableComplete()
{
    for (int row = 0; row < kMainCommandCount; ++row) {
        const MainCommandEntry& entry = kCommands[row];
        if (static_cast<int>(entry.command) != row || entry.objectName == nullptr || entry.caption == nullptr)
            return false;
    }
    return true;
}
static_assert(kCommands.size() == kMainCommandCount);
static_assert(TableComplete(), "each command needs its entry, in the order of MainCommand");

}  // namespace

const MainCommandEntry& EntryOf(MainCommand command) { return kCommands[static_cast<int>(command)]; }

void MainWindow::Click(MainCommand command, MouseButton button)
{
    const MainCommandEntry& entry = EntryOf(command);
    if (entry.honoursIgnoreClicks && context_.values.ignoreClicks) return;
    if (button == MouseButton::Right) {
        help_.OpenAt(entry.help);
        return;
    }
    if (button == MouseButton::Left && entry.perform != nullptr) (this->*entry.perform)();
}

void MainWindow::HelpKeyReleased(MainCommand command)
{
    if (command == MainCommand::ReportScreen && (context_.values.ignoreClicks || ReportWindowVisible()))
        return;
    help_.OpenAgain();
}

void MainWindow::ToggleFunction()
{
    model_.PerformFunction();
    ShowLabels();
}

void MainWindow::ToggleOutputFilesSame()
{
    model_.PerformOutputFilesSame();
    ShowLabels();
}

void MainWindow::ToggleSubfolders()
{
    model_.PerformSubdirectories();
    ShowLabels();
}

void MainWindow::OpenHelp() { help_.OpenAt(HelpTopic::Beginning); }

void MainWindow::Quit() { ShutDown(); }

}  // namespace kyv::gui
