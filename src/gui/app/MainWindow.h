#pragma once
// The main window: one column of command buttons with the setup's status lines beside them.

#include <QWidget>
#include <array>
#include <memory>

#include "core/analysis/RandomnessMeasurer.h"
#include "core/analysis/RandomnessReport.h"
#include "core/app/AppContext.h"
#include "core/app/FileSpecCommands.h"
#include "core/app/MainWindowModel.h"
#include "core/common/MouseButton.h"
#include "core/launch/Confirmer.h"
#include "core/launch/OperationLaunch.h"
#include "core/setup/SetupSnapshot.h"
#include "gui/app/MainCommand.h"
#include "gui/app/WindowWiring.h"
#include "gui/help/HelpLauncher.h"
#include "gui/help/HelpWindow.h"

class QDialog;
class QFrame;
class QLabel;
class QTimer;

namespace kyv {
class LaunchReportWindow;
class PurgeAdvice;
struct SetupFileContents;
enum class StartFunction;
}  // namespace kyv

namespace kyv::gui {

class CommandButton;
class KeyPanel;
class PurgeAdviceWindows;
class RandomnessGraphicWindow;
class RandomnessReportPanel;
class ReliabilityTestClock;
class ReliabilityTestDialog;
class ReportWindow;
class ReportWindowLaunch;
class ConfirmationDialog;
class InputFilesDialog;
class OutputFilesDialog;
class SetupPanels;
enum class SetupButton;

// The main window's object name, by which the program's message boxes and file dialogs find it.
inline QString MainWindowName() { return QStringLiteral("frmMain"); }

// Whether the cipher engine had its guarded memory when the program was built; without it the
// program ends once start-up has said so.
enum class EngineBuffers { Had, Refused };

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, const WindowWiring& wiring = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up; false when the program must end (its message has been shown).
    [[nodiscard]] bool StartUp(EngineBuffers buffers = EngineBuffers::Had);

    // A mouse button released over a command's button: unless clicks are ignored, the right button
    // opens help at the command's topic and the left one performs the command.
    void Click(MainCommand command, MouseButton button = MouseButton::Left);

    // What the commands do on a left click (the command table in MainWindowCommands.cpp names them).
    void ToggleFunction();
    void ChooseSingleFile();
    void ChooseInputFolder();
    void ChooseInputFiles();
    void ToggleSubfolders();
    void ToggleOutputFilesSame();
    void ChooseOutputFolder();
    void ChooseOutputFiles();
    // "Encryption key" (MainWindowKeys.cpp): opens the key panel.
    void OpenKeyPanel();
    // "Do it!" (MainWindowDoIt.cpp): the checks, the confirmation and the run.
    void DoIt();
    // "Randomness report" (MainWindowRandomness.cpp): opens the sub-panel that chooses a side.
    void OpenRandomnessReport();
    // "Report screen" (MainWindowReport.cpp): shows the last report again.
    void ShowReportScreen();
    // Files or a folder dropped on the window or named on the command line (MainWindowDrop.cpp):
    // taken as the file commands take them. Drops do nothing while a panel is open, a run is in
    // progress or clicks are ignored.
    void OpenPaths(const QStringList& arguments, StartFunction function);
    // "Setup" (MainWindowSetup.cpp): opens the setup panel.
    void OpenSetupPanel();
    // "Help": the help window at the beginning of the guide.
    void OpenHelp();
    void Quit();

    // Set when a launch made by the running reliability test ended without processing; the
    // test reads and clears it.
    bool reliabilityLaunchAbandoned = false;

    // After a file-open dialog closed: ignore clicks for a second, so the release of a double
    // click in the dialog does not reach the button under it.
    void IgnoreClicksAfterDialog();

    // The setup's snapshot and "Restore setup" (MainWindowSetup.cpp). Restoring copies the
    // snapshot's folders and file specifications back, applies its flags through the window's own
    // commands, leaves the key not specified and closes the setup panel; the setup-file label
    // stays as it was.
    void SnapshotSetup();
    void RestoreSetup();
    // Gives the three flags these values through the Function, Output-files-same and Subfolders
    // commands, in that order, so that labels and dependent state follow; also while clicks are
    // ignored.
    void ApplySetupFlags(Direction direction, bool inPlace, bool includeSubfolders);

    // Where help opens.
    HelpLauncher& Help() { return help_; }

    // The report window of every run, which the main window makes (MainWindowReport.cpp).
    ReportWindow& Report() { return *report_; }
    InputFilesDialog& InputDialog();
    OutputFilesDialog& OutputDialog();

    CommandButton* Button(MainCommand command) const { return buttons_[static_cast<int>(command)]; }
    MainWindowModel& Model() { return model_; }
    RandomnessReportPanel& RandomnessPanel() { return *randomnessPanel_; }
    RandomnessGraphicWindow& GraphicWindow();
    KeyPanel& Keys() { return *keyPanel_; }
    // Whether shut-down has run (it runs once).
    bool ShutDownDone() const { return shutDownDone_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    void BuildCommandColumn();
    void BuildKeyPanel();
    void BuildSetupPanels();
    void BuildRandomnessReport();
    void RandomnessReport(int side);
    void ReportOnSingleFile(int side, const QString& spec, const platform::FilePath& path);
    void ShowRandomnessGraphic(const RandomnessGraphicText& text, const platform::FilePath& path);
    void ListRandomness(int side, const platform::FilePath& folder, const QString& spec);
    void CloseRandomnessPanel();
    void EndRandomnessReport(bool single);
    QLabel* AddLabel(const char* objectName, int left, int row, bool value);
    // F1 over a command's button: help where it was last opened.
    void HelpKeyReleased(MainCommand command);
    void ChooseFolder(int side);
    void ChooseFiles(int side);
    void ShowLabels();
    // Each command's accessible description: the status line beside it (MainWindowAccessibility.cpp).
    void DescribeCommands();
    void AlignExplanationLabels();
    void ShutDown();
    void CloseSetupPanel();
    void SetupButtonClicked(SetupButton button);
    void LoadSetup();
    void SaveSetupForNextRun();
    void SaveSetupAsOperationFile();
    void ClearSetup();
    // Takes a setup file's folders and file specifications, applies its flags and rewrites the
    // status lines.
    void ShowSetup(const SetupFileContents& contents);
    // Where the setup panels stand: 100 twips right of the command column.
    int SetupPanelLeft() const;
    // Performs a command as a left click, whatever the ignore-clicks guard says.
    void Perform(MainCommand command);
    [[nodiscard]] bool ConfirmOperation(const OperationConfirmation& confirmation);
    // "Do it!" as the program performs it: what the launch came to.
    LaunchResult Launch();
    // The reliability test (MainWindowReliabilityTest.cpp): the offer in the launch, and the test.
    class ReliabilityTestWindows;
    ReliabilityTestChoice OfferReliabilityTest();
    void RunReliabilityTest(int performances);
    void ShowModal(QDialog& dialog);
    // Whether the report window is visible; "Report screen" takes no focus and no F1 while it is.
    bool ReportWindowVisible() const;
    void BuildReportWindow();
    // Where "Do it!", the randomness listing and the reliability test report.
    LaunchReportWindow& LaunchReport();
    bool TakesDrops() const;

    AppContext& context_;
    const Services& services_;
    const WindowWiring wiring_;
    MainWindowModel model_;
    MainHelpWindow ownHelp_;
    HelpLauncher help_;
    FileSpecCommands fileCommands_{model_};
    InputFilesDialog* inputFilesDialog_ = nullptr;
    OutputFilesDialog* outputFilesDialog_ = nullptr;
    QFrame* menuFrame_ = nullptr;
    ConfirmationDialog* confirmOperation_ = nullptr;
    std::array<CommandButton*, kMainCommandCount> buttons_{};
    QLabel* functionLabel_ = nullptr;
    QLabel* functionExplanationLabel_ = nullptr;
    QLabel* singleFileLabel_ = nullptr;
    std::array<QLabel*, 2> folderLabels_{};
    std::array<QLabel*, 2> specLabels_{};
    std::array<QLabel*, 2> specExplanationLabels_{};
    QLabel* subfoldersLabel_ = nullptr;
    QLabel* subfoldersExplanationLabel_ = nullptr;
    QLabel* inPlaceLabel_ = nullptr;
    QLabel* inPlaceExplanationLabel_ = nullptr;
    QLabel* keySourceLabel_ = nullptr;
    KeyPanel* keyPanel_ = nullptr;
    RandomnessReportPanel* randomnessPanel_ = nullptr;
    RandomnessGraphicWindow* graphicWindow_ = nullptr;
    QLabel* checkingFileLabel_ = nullptr;
    std::unique_ptr<RandomnessMeasurer> singleFileMeasurer_;
    std::unique_ptr<ReportWindow> report_;
    std::unique_ptr<ReportWindowLaunch> reportLaunch_;
    std::unique_ptr<PurgeAdviceWindows> purgeWindows_;
    std::unique_ptr<PurgeAdvice> purgeAdvice_;
    QLabel* setupFileLabel_ = nullptr;
    ReliabilityTestClock* reliabilityClock_ = nullptr;
    ReliabilityTestDialog* reliabilityDialog_ = nullptr;
    QLabel* reliabilityProgressLabel_ = nullptr;
    QTimer* ignoreClicksTimer_ = nullptr;
    bool shutDownDone_ = false;
    SetupSnapshot snapshot_;
    SetupPanels* setupPanels_ = nullptr;
};

}  // namespace kyv::gui
