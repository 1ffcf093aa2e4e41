#pragma once
// The main window's setup commands and status lines, without the window: each command changes
// the setup and rewrites the label texts, which the window then shows.

#include <functional>
#include <memory>

#include "core/app/MainLabels.h"
#include "core/common/OperationSetup.h"
#include "platform/Drives.h"

namespace kyv {

class Prompter;
class RandomnessMeasurer;

class MainWindowModel {
public:
    // `labelsChanged` is called when labels change after a command has returned (a measure that
    // finished later); may be empty.
    MainWindowModel(OperationSetup& setup, WorkingValues& values, Prompter& prompter,
                    const platform::FloppyFolders& floppies, std::function<void()> labelsChanged = {});
    ~MainWindowModel();

    // "Function": inverts the direction; the file status lines are not rewritten.
    void PerformFunction();
    // "Output file(s) same?": inverts the in-place flag; switched on, the output side becomes the
    // input side.
    void PerformOutputFilesSame();
    // "Subfolders?": inverts the subfolders flag when the input folder has subfolders (or there is
    // no input folder); switched on, output files become the same as the input files.
    void PerformSubdirectories();

    // Gives the three flags the wanted values through their commands, so that labels and
    // dependent state follow the one path the user's clicks take.
    void ApplySetupFlags(bool encrypt, bool outputFilesSame, bool subdirectories);

    // Rewrites the folder, specification and description of one side. The description of a single
    // input file is completed when its randomness has been measured (labelsChanged tells when).
    void ShowFilesStatus(int side);
    void RefreshFilesStatus();
    void ShowSingleFileHint();

    // Makes both sides of the setup equal (an empty side takes the other's values).
    void CopyInputSideToOutput();
    // Whether both sides are equal; sets the "Output file(s) same?" labels to match but leaves
    // inPlace alone.
    bool ShowOutputSameState();
    // The subfolders labels for "No" with the given explanation.
    void ShowSubdirectoriesOff(const QString& explanation);

    // Replaces the measure of single input files (tests measure synchronously or script values).
    void SetRandomnessMeasurer(std::unique_ptr<RandomnessMeasurer> measurer);

    const MainLabels& Labels() const { return labels_; }
    MainLabels& Labels() { return labels_; }
    OperationSetup& Setup() { return setup_; }
    WorkingValues& Values() { return values_; }
    Prompter& Prompts() { return prompter_; }

private:
    void ToggleSubdirectories();
    void ForgetUnreadableInputFolder();
    void ShowSubdirectoriesOn();
    void RequestMeasure(const platform::FilePath& path);

    OperationSetup& setup_;
    WorkingValues& values_;
    Prompter& prompter_;
    const platform::FloppyFolders& floppies_;
    const std::function<void()> labelsChanged_;
    MainLabels labels_;
    std::unique_ptr<RandomnessMeasurer> measurer_;
    bool showingFilesStatus_ = false;
};

}  // namespace kyv
