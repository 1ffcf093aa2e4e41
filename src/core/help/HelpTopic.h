#pragma once
// The sections of the user guide. A right click on a main-window command opens the guide at the
// section about that command; the value is the section's number in the guide (0: its beginning).

namespace kyv {

enum class HelpTopic : int {
    Beginning = 0,  // the top of the guide, before the first section
    Function = 1,   // encryption or decryption
    SingleFile = 2,
    SpecifyingInputFiles = 3,  // input folder and input file(s)
    IncludingSubfolders = 4,
    OutputSameAsInput = 5,
    SpecifyingOutputFiles = 6,  // output folder and output file(s)
    SupplyingTheKey = 7,
    PerformingTheOperation = 8,  // "Do it!"
    ReportScreen = 9,
    RandomnessReport = 10,
    SavingSetup = 11,
    LoadingSetup = 12,  // no command opens it; the guide reaches it from the section before
    UsingHelp = 13,
    Exiting = 14,
};

}  // namespace kyv
