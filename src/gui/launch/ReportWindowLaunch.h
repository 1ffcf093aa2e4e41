#pragma once
// The report window as the launch of an operation uses it: the window that is captioned and
// shown, the report it writes, and the run state it shows.

#include "core/launch/LaunchReportWindow.h"

class QWidget;

namespace kyv::gui {

class ReportWindowLaunch final : public LaunchReportWindow {
public:
    // `window` is the report window (ReportWindow), which is also `sink`.
    ReportWindowLaunch(QWidget& window, ReportSink& sink, RunState& state)
        : window_(window), sink_(sink), state_(state)
    {
    }

    RunState& State() override { return state_; }
    ReportSink& Sink() override { return sink_; }
    void SetCaption(const QString& caption) override;
    void ShowModeless() override;
    void Hide() override;
    void RestoreCopyButton() override;

private:
    QWidget& window_;
    ReportSink& sink_;
    RunState& state_;
};

}  // namespace kyv::gui
