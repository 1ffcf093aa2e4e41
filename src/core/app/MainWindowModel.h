#pragma once
// The main window's setup commands and status lines, without the window: each command changes
// the setup and rewrites the label texts, which the window then shows.

#include "core/app/MainLabels.h"
#include "core/common/OperationSetup.h"

namespace kyv {

class Prompter;

class MainWindowModel {
public:
    MainWindowModel(OperationSetup& setup, WorkingValues& values, Prompter& prompter);

    // "Function": inverts the direction; the file status lines are not rewritten.
    void PerformFunction();
    // "Output file(s) same?": inverts the in-place flag.
    void PerformOutputFilesSame();
    // "Subfolders?": inverts the subfolders flag.
    void PerformSubdirectories();

    // Gives the three flags the wanted values through their commands, so that labels and
    // dependent state follow the one path the user's clicks take.
    void ApplySetupFlags(bool encrypt, bool outputFilesSame, bool subdirectories);

    void ShowFilesStatus(int side);
    void RefreshFilesStatus();
    void ShowSingleFileHint();

    const MainLabels& Labels() const { return labels_; }
    MainLabels& Labels() { return labels_; }
    OperationSetup& Setup() { return setup_; }
    WorkingValues& Values() { return values_; }

private:
    OperationSetup& setup_;
    WorkingValues& values_;
    Prompter& prompter_;
    MainLabels labels_;
};

}  // namespace kyv
