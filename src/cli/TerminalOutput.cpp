#include "cli/TerminalOutput.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cmath>

namespace kyv::cli {

namespace {

// A few times a second: often enough to see it move, seldom enough to read it.
constexpr std::chrono::milliseconds kRedrawInterval{250};
constexpr int kBarWidth = 20;
constexpr int kDefaultColumns = 80;
// Carriage return and "erase to the end of the line".
const QByteArray kClearLine = QByteArrayLiteral("\r\033[K");

int TerminalColumns()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return kDefaultColumns;
}

}  // namespace

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += n;
    }
    return true;
}

QString ProgressBar(double fraction, int width)
{
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(std::floor(clamped * width));
    QString bar(width, QLatin1Char(' '));
    for (int i = 0; i < filled; ++i) bar[i] = QLatin1Char('=');
    if (filled < width) bar[filled] = QLatin1Char('>');
    const int percent = static_cast<int>(std::floor(clamped * 100.0));
    return QLatin1Char('[') + bar + QStringLiteral("] ") + QString::number(percent).rightJustified(3) +
           QLatin1Char('%');
}

TerminalOutput::TerminalOutput(bool progress) : progress_(progress), reportInView_(isatty(STDOUT_FILENO) != 0)
{
}

bool TerminalOutput::WriteReportLine(const QString& line)
{
    return WriteReportText(line + QLatin1Char('\n'));
}

bool TerminalOutput::WriteReportText(const QString& text)
{
    // The report and the progress line may share one terminal.
    ClearProgress();
    return WriteAll(STDOUT_FILENO, text.toUtf8());
}

void TerminalOutput::WriteMessage(const QString& text)
{
    ClearProgress();
    (void)WriteAll(STDERR_FILENO, (text + QLatin1Char('\n')).toUtf8());
}

void TerminalOutput::WritePrompt(const QString& text)
{
    ClearProgress();
    (void)WriteAll(STDERR_FILENO, text.toUtf8());
}

void TerminalOutput::SetProgress(const QString& text, std::optional<double> fraction)
{
    if (text == text_ && fraction == fraction_) return;
    text_ = text;
    fraction_ = fraction;
    changed_ = true;
}

void TerminalOutput::SetBatchProgress(const QString& text)
{
    if (text == batchText_) return;
    batchText_ = text;
    changed_ = true;
}

void TerminalOutput::RefreshProgress()
{
    if (!progress_ || !changed_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDrawn_ < kRedrawInterval) return;
    DrawProgress();
    lastDrawn_ = now;
}

void TerminalOutput::DrawProgress()
{
    changed_ = false;
    QString line = text_.simplified();
    if (fraction_) line = ProgressBar(*fraction_, kBarWidth) + QStringLiteral("  ") + line;
    if (!batchText_.isEmpty()) line = batchText_ + QStringLiteral("  ") + line;
    // One character short of the width, so that the terminal never wraps the line.
    line.truncate(std::max(0, TerminalColumns() - 1));
    (void)WriteAll(STDERR_FILENO, kClearLine + line.toUtf8());
    drawn_ = !line.isEmpty();
}

void TerminalOutput::ClearProgress()
{
    if (!progress_ || !drawn_) return;
    (void)WriteAll(STDERR_FILENO, kClearLine);
    drawn_ = false;
    changed_ = true;
}

}  // namespace kyv::cli
