// "Do it!": the main window's launch of an operation.

#include <QFrame>
#include <exception>

#include "core/common/Prompter.h"
#include "core/launch/Confirmer.h"
#include "core/launch/OperationLaunch.h"
#include "gui/app/MainWindow.h"
#include "gui/launch/ConfirmationDialog.h"

namespace kyv::gui {

namespace {

// The question goes through the main window, which repaints itself once it is answered.
class MainWindowConfirmer final : public Confirmer {
public:
    explicit MainWindowConfirmer(std::function<bool(const OperationConfirmation&)> confirm)
        : confirm_(std::move(confirm))
    {
    }
    bool Confirm(const OperationConfirmation& confirmation) override { return confirm_(confirmation); }

private:
    std::function<bool(const OperationConfirmation&)> confirm_;
};

}  // namespace

bool MainWindow::ConfirmOperation(const OperationConfirmation& confirmation)
{
    Confirmer* confirmer = wiring_.confirmer;
    if (confirmer == nullptr) {
        if (confirmOperation_ == nullptr) confirmOperation_ = new ConfirmationDialog(this, menuFrame_);
        confirmer = confirmOperation_;
    }
    const bool doIt = confirmer->Confirm(confirmation);
    repaint();
    return doIt;
}

void MainWindow::DoIt() { (void)Launch(); }

LaunchResult MainWindow::Launch()
{
    const LaunchContext launchContext{context_.setup,       context_.values, context_.key,
                                      LaunchReport(),       services_,       purgeAdvice_.get(),
                                      wiring_.runController};
    MainWindowConfirmer confirmer([this](const OperationConfirmation& c) { return ConfirmOperation(c); });
    LaunchHooks hooks;
    // The program's own "Output file(s) same?" left click, which runs even while clicks are ignored.
    hooks.performOutputFilesSame = [this] {
        model_.PerformOutputFilesSame();
        ShowLabels();
    };
    hooks.offerReliabilityTest = [this] { return OfferReliabilityTest(); };
    hooks.confirmer = &confirmer;
    try {
        const LaunchResult result = LaunchOperation(launchContext, hooks);
        if (result.abortReliabilityTest) reliabilityLaunchAbandoned = true;
        return result;
    } catch (const std::exception& failure) {
        services_.prompter.Tell(QString::fromLocal8Bit(failure.what()), QStringLiteral("Error"),
                                MessageIcon::Exclamation);
    }
    return {};
}

}  // namespace kyv::gui
