#pragma once
// The one place where results become report text: a file's line from its FileResult, and the
// closing lines of a run from its RunResult. The walk writes a file's line in parts, as the file
// is taken up and worked on; FileLine is those parts put together.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace kyv {

struct FileResult;
struct RunResult;

// Written when a file is taken up: its name, padded.
[[nodiscard]] QString FileLineStart(const QString& inputName);
// Written before the file is worked on.
[[nodiscard]] QString FileLengthText(std::uint64_t length);
// Shown while the file is worked on, then taken back.
[[nodiscard]] QString FileProgressText(bool encrypting);
// The end of the line: the result's name and length, or what went wrong (with the place where
// partial plaintext may lie, on a line of its own).
[[nodiscard]] QString FileOutcomeText(const FileResult& file);
// The whole line as the report holds it, without its closing line break.
[[nodiscard]] QString FileLine(const FileResult& file);

// The totals after a run, one entry per append; each line ends in a line break. A randomness
// report (`operation` false) has the number of files only.
[[nodiscard]] QStringList ClosingTotals(const RunResult& run, bool operation, bool encrypting,
                                        double elapsedSeconds);
// The last line of a report, after an empty one: the date and time in the user's format.
[[nodiscard]] QString ClosingDateLine(const QDateTime& now);

}  // namespace kyv
