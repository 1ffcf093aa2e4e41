#include "core/operation/ReportFormatter.h"

#include <cmath>

#include "core/common/DirectionWord.h"
#include "core/common/NumberText.h"
#include "core/files/FolderPath.h"
#include "core/operation/ElapsedText.h"
#include "core/operation/FileResult.h"
#include "core/operation/FileTypes.h"
#include "core/operation/ReportEvent.h"
#include "core/operation/RunResult.h"
#include "platform/Drives.h"

namespace kyv {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kContinuationIndent = QString(14, QLatin1Char(' '));
constexpr int kNamePadding = 12;
constexpr qint64 kWholeKilobytesAbove = 1023999;
constexpr double kElapsedShownAbove = 3.0;

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

QString Bytes(std::uint64_t length)
{
    return GroupedNumber(static_cast<qint64>(length)) + QStringLiteral(" bytes");
}

// The drive letter of a Windows path; elsewhere the mount point that stands for the drive.
QString DriveName(const QString& path)
{
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) return path.left(1).toUpper();
    return platform::DriveOf(path);
}

QStringList DecisionMessage(FileDecision decision, const FileResult& file)
{
    const auto word = [&](const char* w) { return DirectionWord(file.encrypting, QLatin1String(w)); };
    const auto resultIn = [&] {
        return QStringLiteral("The result of the ") + word("encryption") +
               QStringLiteral(" operation is in the file ") + file.temporaryPath.Display() + QLatin1Char('.');
    };
    const auto resultLine = [&] {
        QString line = QStringLiteral("-> ");
        if (!file.inPlace) line += DisplayName(file.outputName) + QStringLiteral("  ");
        return line + Bytes(file.outputLength);
    };
    const QString blocksKept = QStringLiteral("the disk may still hold its data in the blocks it used");
    switch (decision) {
        case FileDecision::Done:
            return {resultLine()};
        case FileDecision::PurgeNotOverwritten:
            return {resultLine(),
                    kContinuationIndent +
                        QStringLiteral("The result is complete, but the original's overwrite failed: ") +
                        blocksKept + QLatin1Char('.')};
        case FileDecision::PurgeNotDeleted:
            return {resultLine(),
                    kContinuationIndent +
                        QStringLiteral("The result is complete, but the purge of the original failed: ") +
                        blocksKept + QStringLiteral(", and the empty file is now ") +
                        file.emptiedOriginalPath.Display() + QStringLiteral("; delete it yourself.")};
        case FileDecision::OwnExecutable:
            return {QStringLiteral("This is the Kyv executable.  ") + word("Encryption") +
                    QStringLiteral(" not performed.")};
        case FileDecision::CurrentKeyfile:
            return {QStringLiteral("This is the current keyfile.  ") + word("Encryption") +
                    QStringLiteral(" not performed.")};
        case FileDecision::EmptyFile:
            return {QStringLiteral("This file is empty (0 bytes).")};
        case FileDecision::TooSmallToDecrypt:
            return {QStringLiteral("This file is too small to have been Kyv-encrypted.")};
        case FileDecision::NoTemporaryName:
            return {QStringLiteral("Unable to get temporary output filename.")};
        case FileDecision::RenameFailed:
            return {QStringLiteral("Error when renaming temporary output file. ") + resultIn()};
        case FileDecision::ProtectedExtension:
            return {QStringLiteral("Kyv does not ") + word("encrypt") +
                    QStringLiteral("-in-place files with extension ") +
                    Quoted(GetFileExtension(file.inputPath.Text(), true)) + QLatin1Char('.')};
        case FileDecision::RenameFailedOnFloppy:
            return {QStringLiteral("Error: probably insufficient space on the floppy disk in drive ") +
                    DriveName(file.inputPath.Text()) + QStringLiteral(".  ") + resultIn()};
        case FileDecision::SkippedNotEncrypted:
            return {QStringLiteral("skipped (file seems not encrypted)")};
        case FileDecision::ResultNotIntact:
            return {
                QStringLiteral("The encrypted file did not read back intact from the disk: the file is "
                               "kept as it was. Check the disk before using it again.")};
        case FileDecision::ChangedWhileRead: {
            QStringList lines{
                QStringLiteral("This file changed, or another file took its name, while it was ") +
                word("encrypted") + QStringLiteral(": it is kept as it is now.")};
            if (!file.temporaryPath.IsEmpty())
                lines << kContinuationIndent + QStringLiteral("The result of the ") + word("encryption") +
                             QStringLiteral(" of the file as it was read is in the file ") +
                             file.temporaryPath.Display() + QLatin1Char('.');
            return {lines};
        }
    }
    return {QString()};
}

// The engine's codes are worded by number, so that a code the engine may add later still reads.
QStringList EngineMessage(cipher::CipherResult failure)
{
    const int code = static_cast<int>(failure);
    switch (code) {
        case -3:
            return {QStringLiteral("Input file not found.")};
        case -4:
            return {QStringLiteral("Unable to open input file.")};
        case -5:
            return {QStringLiteral("Unable to open output file.")};
        case -6:
        case -16:
            return {QStringLiteral("Read error.")};
        case -7:
        case -17:
            return {QStringLiteral("Write error.")};
        case -9:
            return {QStringLiteral("Write error: disk full.")};
        case -8:
        case -18:
            return {QStringLiteral("Invalid block size."),
                    kContinuationIndent +
                        QStringLiteral("Decryption key is incorrect or ciphertext is corrupt.")};
        default:
            break;
    }
    if (code <= -21 && code >= -29) {
        const int errors = -code - 20;
        const QString count =
            errors == 1 ? QStringLiteral("One block expansion error occurred.")
                        : QString::number(errors) + QStringLiteral(" block expansion errors occurred.");
        return {count, kContinuationIndent +
                           QStringLiteral("Ciphertext is corrupt or decryption key is incorrect.")};
    }
    return {QStringLiteral("Unknown error #") + QString::number(code) + QLatin1Char('.')};
}

}  // namespace

QString FileLineStart(const QString& inputName)
{
    return DisplayName(inputName).leftJustified(kNamePadding, QLatin1Char(' ')) + QStringLiteral("  ");
}

QString FileLengthText(std::uint64_t length) { return Bytes(length) + QStringLiteral("   "); }

QString FileProgressText(bool encrypting)
{
    return QStringLiteral("  ... ") + DirectionWord(encrypting, QStringLiteral("encrypting")) +
           QStringLiteral(" ... ");
}

QStringList FileOutcomeLines(const FileResult& file)
{
    const std::optional<cipher::CipherResult> failure = file.EngineFailure();
    QStringList lines =
        failure ? EngineMessage(*failure) : DecisionMessage(std::get<FileDecision>(file.outcome), file);
    if (!file.partialPlaintextPath.IsEmpty())
        lines << kContinuationIndent + QStringLiteral("Partial plaintext may be in ") +
                     file.partialPlaintextPath.Display() + QLatin1Char('.');
    return lines;
}

QString FileOutcomeText(const FileResult& file) { return FileOutcomeLines(file).join(kLineBreak); }

QString FileLine(const FileResult& file)
{
    QString line = FileLineStart(file.inputName);
    if (file.inputLength) line += FileLengthText(*file.inputLength);
    return line + FileOutcomeText(file);
}

QString LinkedFolderLine(const FilePath& path)
{
    return path.Display() + QStringLiteral("  A link to a folder: not followed.");
}

QString LeftOutEntryLine(const FilePath& path, bool wildcardInName)
{
    return path.Display() +
           (wildcardInName
                ? QStringLiteral("  A name with \"*\" or \"?\", which no file specification matches: "
                                 "left as it is.")
                : QStringLiteral("  Not a regular file: left as it is."));
}

QStringList ClosingTotalLines(const RunResult& run, bool operation, bool encrypting, double elapsedSeconds)
{
    const auto word = [encrypting](const char* w) { return DirectionWord(encrypting, QLatin1String(w)); };
    QStringList lines;
    if (run.filesProcessed != 1)
        lines << QString()
              << QStringLiteral("Number of files processed: ") + QString::number(run.filesProcessed);
    if (!operation) return lines;
    if (run.foldersNotProcessed > 0)
        lines << QStringLiteral("Not every file was processed: ") +
                     (run.foldersNotProcessed == 1
                          ? QStringLiteral("one folder was")
                          : QString::number(run.foldersNotProcessed) + QStringLiteral(" folders were")) +
                     QStringLiteral(" left out (see above).");
    if (run.filesProcessed != 1 || run.filesDone != 1)
        lines << QStringLiteral("Number of files ") + word("encrypted") + QStringLiteral(": ") +
                     QString::number(run.filesDone);
    if (run.filesDone > 0) {
        const int decimals = run.bytesDone > kWholeKilobytesAbove ? 0 : 2;
        lines << QStringLiteral("Total KB ") + word("encrypted") + QStringLiteral(": ") +
                     GroupedNumber(static_cast<double>(run.bytesDone) / 1024.0, decimals);
        if (elapsedSeconds > kElapsedShownAbove) {
            // Halves go to the even neighbour (the default rounding mode).
            const auto seconds = static_cast<std::int64_t>(std::nearbyint(elapsedSeconds));
            lines << QStringLiteral("Elapsed time: ") + FormatElapsed(seconds);
        }
    }
    return lines;
}

QString ClosingDateText(const QDateTime& now)
{
    return UserLocale().toString(now.date(), QLocale::ShortFormat) + QStringLiteral(", ") +
           now.time().toString(QStringLiteral("hh:mm"));
}

QStringList ReportLinesOf(const ReportEvent& event)
{
    // Every addition ends in the start of the line the next one continues: "" when it ends a line.
    const QString lineEnds;
    struct Render {
        const QString& lineEnds;
        QStringList operator()(const RunStartedEvent&) const { return {}; }
        QStringList operator()(const FolderStartedEvent& e) const
        {
            return {DirectionWord(e.encrypting, QStringLiteral("Encrypting")) + QLatin1Char(' ') +
                        e.fileSpec + QStringLiteral(" in ") + e.folder.Display(),
                    lineEnds};
        }
        QStringList operator()(const FileStartedEvent& e) const
        {
            return {FileLineStart(e.name) + (e.length ? FileLengthText(*e.length) : QString())};
        }
        QStringList operator()(const ProgressEvent& e) const
        {
            if (e.of != ProgressEvent::Of::FileWorkBegins) return {};
            return {FileProgressText(e.encrypting)};
        }
        QStringList operator()(const FileFinishedEvent& e) const
        {
            return FileOutcomeLines(e.file) << lineEnds;
        }
        QStringList operator()(const ReportTextEvent& e) const { return e.lines; }
        QStringList operator()(const RunFinishedEvent& e) const
        {
            if (!e.closingLines) return {};
            return ClosingTotalLines(e.result, e.operation, e.encrypting, e.elapsedSeconds)
                   << QString() << ClosingDateText(e.now) << lineEnds;
        }
        QStringList operator()(const StatusEvent&) const { return {}; }
    };
    return std::visit(Render{lineEnds}, event);
}

QString ReportTextOf(const ReportEvent& event) { return ReportLinesOf(event).join(kLineBreak); }

qsizetype ReportTextLength(const QStringList& lines)
{
    qsizetype length = (lines.size() - 1) * kLineBreak.size();
    for (const QString& line : lines) length += line.size();
    return lines.isEmpty() ? 0 : length;
}

RunStatus StatusAfterRun(RunStatus shown, const RunResult& result)
{
    if (shown == RunStatus::Paused || shown == RunStatus::Stopped || result.filesDone <= 0) return shown;
    return RunStatus::Done;
}

QString StatusText(RunStatus status)
{
    switch (status) {
        case RunStatus::None:
            return QString();
        case RunStatus::Paused:
            return QStringLiteral("Paused");
        case RunStatus::Stopped:
            return QStringLiteral("Stopped");
        case RunStatus::Done:
            return QStringLiteral("Done");
    }
    return QString();
}

QStringList LineBreakLines() { return {QString(), QString()}; }

}  // namespace kyv
