#pragma once
// The one place where a run's events become report text: a file's line from its FileResult, the
// closing lines of a run from its RunResult. A file's line comes in parts, as the file is taken up
// and worked on; FileLine is those parts put together.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/operation/ReportEvent.h"

namespace kyv {

// Written when a file is taken up: its name, padded.
[[nodiscard]] QString FileLineStart(const QString& inputName);
// Written before the file is worked on.
[[nodiscard]] QString FileLengthText(std::uint64_t length);
// Shown while the file is worked on, then taken back.
[[nodiscard]] QString FileProgressText(bool encrypting);
// The end of the line: the result's name and length, or what went wrong (with the place where
// partial plaintext may lie, on a line of its own); one entry per line, without line breaks.
[[nodiscard]] QStringList FileOutcomeLines(const FileResult& file);
// The same lines as the report holds them.
[[nodiscard]] QString FileOutcomeText(const FileResult& file);
// The whole line as the report holds it, without its closing line break.
[[nodiscard]] QString FileLine(const FileResult& file);

// A folder a link leads to, named and not entered.
[[nodiscard]] QString LinkedFolderLine(const platform::FilePath& path);
// An entry the file specification matched that the run cannot take: a name with a wildcard
// character, or no regular file.
[[nodiscard]] QString LeftOutEntryLine(const platform::FilePath& path, bool wildcardInName);

// The totals after a run, one entry per line (an empty entry: an empty line), without line
// breaks. A randomness report (`operation` false) has the number of files only.
[[nodiscard]] QStringList ClosingTotalLines(const RunResult& run, bool operation, bool encrypting,
                                            double elapsedSeconds);
// The last line of a report, after an empty one: the date and time in the user's format.
[[nodiscard]] QString ClosingDateText(const QDateTime& now);

// What `event` adds to the report, line by line, without line breaks: every entry but the last
// ends its line; the last begins the line the next event continues (empty when the event ends its
// line). No entries: the event adds no text.
[[nodiscard]] QStringList ReportLinesOf(const ReportEvent& event);
// The same as the report's text, lines ending in CR LF.
[[nodiscard]] QString ReportTextOf(const ReportEvent& event);
// The length of `lines` as the report holds them, CR LF between them.
[[nodiscard]] qsizetype ReportTextLength(const QStringList& lines);
// A line break as report lines: the open line ends, and nothing follows.
[[nodiscard]] QStringList LineBreakLines();

// The label after a run: "Done" once a file is done, unless it says the run paused or stopped.
[[nodiscard]] RunStatus StatusAfterRun(RunStatus shown, const RunResult& result);
[[nodiscard]] QString StatusText(RunStatus status);

}  // namespace kyv
