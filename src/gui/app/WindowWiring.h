#pragma once
// What the main window works through besides the program's services, given when it is made. Each
// one left empty is the window's own: its report window, its confirmation dialog, its dialogs shown
// with exec, a run on the window's thread, its help window. Tests put fakes in.

namespace kyv {
class Confirmer;
class LaunchReportWindow;
class RunController;
}  // namespace kyv

class QDialog;

namespace kyv::gui {

class HelpWindows;

// Shows one of the main window's dialogs modally.
class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;
    virtual void Show(QDialog& dialog) = 0;
};

struct WindowWiring {
    // Where "Do it!", the randomness listing and the reliability test report.
    LaunchReportWindow* reportWindow = nullptr;
    // Asks before a run.
    Confirmer* confirmer = nullptr;
    ModalDialogs* dialogs = nullptr;
    // Runs the operation off the window's thread.
    RunController* runController = nullptr;
    // Whether a watched file's purge is advised first, in the report window's dialogs.
    bool advisePurges = false;
    // Where help opens.
    HelpWindows* help = nullptr;
};

}  // namespace kyv::gui
