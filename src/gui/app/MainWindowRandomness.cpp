// "Randomness report": the sub-panel that chooses a side, the graphic window of one file and the
// listing of several in the report window.

#include <QFrame>
#include <QLabel>
#include <filesystem>
#include <system_error>

#include "core/analysis/BackgroundRandomnessMeasurer.h"
#include "core/common/Clock.h"
#include "core/common/RandomnessThresholds.h"
#include "core/files/FolderPath.h"
#include "core/launch/LaunchChecks.h"
#include "core/launch/LaunchReportWindow.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/analysis/RandomnessReportPanel.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"
#include "gui/operation/ReportWindow.h"

namespace kyv::gui {

namespace {
constexpr int kPanelTop = 2740;
constexpr int kPanelGap = 50;
constexpr int kBelowMainWindowTop = 450;
constexpr int kGraphicRightMargin = 120;
constexpr int kCheckingFileRow = 11;
constexpr int kValueLeft = 2520;
}  // namespace

void MainWindow::BuildRandomnessReport()
{
    randomnessPanel_ = new RandomnessReportPanel(this);
    connect(randomnessPanel_, &RandomnessReportPanel::SideChosen, this,
            [this](int side) { RandomnessReport(side); });
    connect(randomnessPanel_, &RandomnessReportPanel::NotNowPressed, this,
            [this] { CloseRandomnessPanel(); });
    connect(randomnessPanel_, &RandomnessReportPanel::HelpRequested, this,
            [this](HelpTopic topic) { help_.OpenAt(topic); });
    // Shows that a large file is being measured, off this thread.
    checkingFileLabel_ = AddLabel("lblCheckingFile", kValueLeft, kCheckingFileRow, true);
    checkingFileLabel_->hide();
    singleFileMeasurer_ = std::make_unique<BackgroundRandomnessMeasurer>();
}

RandomnessGraphicWindow& MainWindow::GraphicWindow()
{
    if (graphicWindow_ == nullptr)
        graphicWindow_ = new RandomnessGraphicWindow(services_.prompter, services_.fileDialogs, this);
    return *graphicWindow_;
}

void MainWindow::OpenRandomnessReport()
{
    const OperationSetup& setup = context_.setup;
    if (!RandomnessReportPossible(setup, services_.prompter)) return;
    CommandButton* button = Button(MainCommand::RandomnessReport);
    const QPoint topLeft(menuFrame_->x() + button->width() + Twips(kPanelGap), Twips(kPanelTop));
    menuFrame_->setEnabled(false);
    randomnessPanel_->Open(topLeft, InputFilesSpecified(setup), OutputFilesSpecified(setup));
}

void MainWindow::CloseRandomnessPanel()
{
    randomnessPanel_->hide();
    menuFrame_->setEnabled(true);
    Button(MainCommand::RandomnessReport)->setFocus(Qt::OtherFocusReason);
}

void MainWindow::RandomnessReport(int side)
{
    const RandomnessReportPlan plan = PlanRandomnessReport(context_.setup, side, services_.prompter);
    if (plan.kind == RandomnessReportKind::Refused) {
        CloseRandomnessPanel();
        return;
    }
    randomnessPanel_->hide();
    menuFrame_->setEnabled(false);
    if (plan.kind == RandomnessReportKind::SingleFile) {
        ReportOnSingleFile(side, plan.spec, plan.File());
        return;
    }
    ListRandomness(side, plan.folder, plan.spec);
    EndRandomnessReport(false);
}

void MainWindow::ReportOnSingleFile(int side, const QString& spec, const FilePath& path)
{
    std::error_code error;
    const auto size = static_cast<qint64>(std::filesystem::file_size(path, error));
    checkingFileLabel_->setText(QStringLiteral("Checking file ..."));
    checkingFileLabel_->show();
    checkingFileLabel_->repaint();
    // A large file is measured on a worker; the window keeps its events, its commands disabled.
    singleFileMeasurer_->Request(
        path, kMinFileSizeForRandomness, [this, side, spec, path, size](double randomness) {
            checkingFileLabel_->hide();
            const std::optional<RandomnessGraphicText> text =
                SingleFileRandomness(side, spec, size, randomness, services_.prompter);
            if (text) ShowRandomnessGraphic(*text, path);
            EndRandomnessReport(true);
        });
}

void MainWindow::ShowRandomnessGraphic(const RandomnessGraphicText& text, const FilePath& path)
{
    RandomnessGraphicWindow& graphic = GraphicWindow();
    graphic.Prepare(text, path);
    const int frameWidth = frameGeometry().width() - width();
    graphic.move(frameGeometry().x() + frameGeometry().width() - (graphic.width() + frameWidth) -
                     Twips(kGraphicRightMargin),
                 frameGeometry().y() + Twips(kBelowMainWindowTop));
    ShowModal(graphic);
}

void MainWindow::ListRandomness(int side, const FilePath& folder, const QString& spec)
{
    LaunchReportWindow& report = LaunchReport();
    RunState& state = report.State();
    // The report window is busy with another run.
    if (state.control.runInProgress) return;
    state.request.kind = RunKind::RandomnessListing;
    state.request.inputFolder = folder;
    state.request.inputSpec = spec;
    report.SetCaption(RandomnessListingCaption(side, spec));
    report.ShowModeless();
    // By the frames: x() and y() are the main window's frame corner, and the report's inside put
    // there would hide its title bar behind the main window's.
    report_->resize(width(), report_->height());
    PlaceFrame(report_.get(), frameGeometry().topLeft() + QPoint(0, Twips(kBelowMainWindowTop)), this);

    OperationContext context{context_.setup,
                             context_.values,
                             state,
                             report.Sink(),
                             services_.prompter,
                             services_.clock,
                             nullptr,
                             nullptr,
                             {},
                             {},
                             nullptr,
                             {},
                             wiring_.runController};
    ProcessFiles(context);
    report.RestoreCopyButton();
}

void MainWindow::EndRandomnessReport(bool single)
{
    menuFrame_->setEnabled(true);
    if (single && graphicWindow_ != nullptr && graphicWindow_->isVisible()) {
        graphicWindow_->activateWindow();
        graphicWindow_->setFocus(Qt::OtherFocusReason);
    } else if (single || !ReportWindowVisible()) {
        Button(MainCommand::RandomnessReport)->setFocus(Qt::OtherFocusReason);
    } else {
        report_->activateWindow();
        report_->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace kyv::gui
