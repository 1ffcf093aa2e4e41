#pragma once
// The tool's two output streams. Standard output carries the report and nothing else; standard
// error carries messages and, when it is a terminal, one progress line that is redrawn in place
// and cleared before anything else is written.

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace kyv::cli {

// Writes all of `bytes` to the file descriptor, riding out interrupted calls. False on failure.
[[nodiscard]] bool WriteAll(int fd, const QByteArray& bytes);

class TerminalOutput {
public:
    // `progress`: draw the progress line (standard error is a terminal).
    explicit TerminalOutput(bool progress);

    // A line of the report (without its line break) to standard output.
    [[nodiscard]] bool WriteReportLine(const QString& line);
    // Text of the report that does not end its line.
    [[nodiscard]] bool WriteReportText(const QString& text);
    // A message line to standard error.
    void WriteMessage(const QString& text);
    // Text to standard error without a line break (a question waiting for its answer).
    void WritePrompt(const QString& text);

    // What the progress line shows, and how far the current file is (0 to 1) when known.
    void SetProgress(const QString& text, std::optional<double> fraction);
    // How far the whole batch is, shown first on the line; empty: nothing.
    void SetBatchProgress(const QString& text);
    // Draws the progress line when it changed and was not drawn in the last quarter of a second.
    void RefreshProgress();
    void ClearProgress();

    [[nodiscard]] bool ShowsProgress() const { return progress_; }
    // Standard output is a terminal too: the report's lines are in view already.
    [[nodiscard]] bool ReportInView() const { return reportInView_; }

private:
    void DrawProgress();

    bool progress_;
    bool reportInView_;
    bool drawn_ = false;
    bool changed_ = false;
    QString text_;
    QString batchText_;
    std::optional<double> fraction_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

// The bar of the progress line: "[=========>          ]  45%" for 0.45 in a bar of 20.
[[nodiscard]] QString ProgressBar(double fraction, int width);

}  // namespace kyv::cli
