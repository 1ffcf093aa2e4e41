#pragma once
// The main window: one column of command buttons with the setup's status lines beside them.

#include <QWidget>
#include <array>
#include <functional>

#include "core/app/AppContext.h"
#include "core/app/FileSpecCommands.h"
#include "core/app/MainCommand.h"
#include "core/app/MainWindowModel.h"
#include "gui/launch/LaunchWiring.h"

class QDialog;
class QFrame;
class QLabel;
class QTimer;

namespace kyv::gui {

class CommandButton;
class KeyPanel;
class ReportWindow;
class ConfirmationDialog;
class InputFilesDialog;
class OutputFilesDialog;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up; false when the program must end (its message has been shown).
    [[nodiscard]] bool StartUp();

    // The command buttons' handlers (1 = left button, 2 = right button).
    void cmdFunction_MouseUp(int button);
    void cmdSingleFile_MouseUp(int button);
    // index 0 input, 1 output.
    void cmdSpecifyDirectory_MouseUp(int index, int button);
    void cmdSpecifyFiles_MouseUp(int index, int button);
    void cmdOutputFilesSame_MouseUp(int button);
    void cmdSubdirectories_MouseUp(int button);
    // "Encryption key" (MainWindowKeys.cpp): opens the key panel.
    void cmdKeyFrom_MouseUp(int button);
    // "Report screen": shows the last report again.
    void cmdReportScreen_MouseUp(int button);
    void cmdHelp_MouseUp(int button);
    void cmdQuit_MouseUp(int button);
    // "Do it!" (MainWindowDoIt.cpp): the checks, the confirmation and the run.
    void cmdDoIt_MouseUp(int button);
    // What "Do it!" works with besides the context.
    LaunchWiring launch;
    // Set when a launch made by the running reliability test ended without processing; the
    // test reads and clears it.
    bool reliabilityLaunchAbandoned = false;

    // After a file-open dialog closed: ignore clicks for a second, so the release of a double
    // click in the dialog does not reach the button under it.
    void IgnoreClicksAfterDialog();

    // Help at the section last stored in intStartHeading.
    void ShowHelp();
    int intStartHeading = 0;
    // Shows the help window; set when the help window exists.
    std::function<void(int section)> showHelpWindow;

    // The report window of every run; set by the program once both windows exist.
    void SetReportWindow(ReportWindow* report);
    // Whether the report window is visible; "Report screen" takes no focus and no F1 while it is.
    std::function<bool()> reportWindowVisible;
    // Shows one of the main window's dialogs modally; tests answer the dialog here instead.
    std::function<void(QDialog&)> showDialogModal;
    InputFilesDialog& InputDialog();
    OutputFilesDialog& OutputDialog();

    CommandButton* Button(MainCommand command) const { return buttons_[static_cast<int>(command)]; }
    MainWindowModel& Model() { return model_; }
    KeyPanel& Keys() { return *keyPanel_; }
    // Whether shut-down has run (it runs once).
    bool ShutDownDone() const { return shutDownDone_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void BuildKeyPanel();
    QLabel* AddLabel(const char* objectName, int left, int row, bool value);
    void OnMouseUp(MainCommand command, int button);
    void ShowLabels();
    void AlignExplanationLabels();
    void ShutDown();
    [[nodiscard]] bool ConfirmOperation(const OperationConfirmation& confirmation);
    // True when the click is to go no further: ignored clicks, and right clicks (which open help).
    bool ClickHandledBeforeCommand(MainCommand command, int button);
    void ShowModal(QDialog& dialog);
    bool ReportWindowVisible() const;

    AppContext& context_;
    MainWindowModel model_;
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
    ReportWindow* report_ = nullptr;
    QLabel* setupFileLabel_ = nullptr;
    QTimer* statusClock_ = nullptr;
    QTimer* ignoreClicksTimer_ = nullptr;
    bool shutDownDone_ = false;
};

}  // namespace kyv::gui
