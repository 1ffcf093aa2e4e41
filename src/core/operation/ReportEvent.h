#pragma once
// What a run tells its report, as values: the run and its folders and files as they are taken up,
// how far the work is, each file's result, the text the run writes of its own, and the run's end
// with its result. The report window and the command-line tool each render them through the report
// formatter; nothing here is report text yet, except the run's own lines.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

#include "core/common/BatchProgress.h"
#include "core/operation/FileResult.h"
#include "core/operation/RunResult.h"
#include "platform/FilePath.h"

namespace kyv {

// What the label under the report says.
enum class RunStatus { None, Paused, Stopped, Done };

// After a full report, this many characters at its end give way to the closing lines.
inline constexpr int kRoomForClosingLines = 500;

// A run begins: its report starts empty, and stop and suppression of the report are cleared.
struct RunStartedEvent {};

// A folder's files are taken up.
struct FolderStartedEvent {
    bool encrypting = true;
    QString fileSpec;
    platform::FilePath folder;
};

// A file is taken up; its length is known unless it was turned down before it was looked at.
struct FileStartedEvent {
    QString name;
    std::optional<std::uint64_t> length;
};

struct ProgressEvent {
    enum class Of {
        FileWorkBegins,  // the file's line says so until the file is finished
        FileBytes,       // the bytes of a large file done so far
        Batch,           // how far the whole batch is; never part of the report's text
    };
    Of of = Of::Batch;
    bool encrypting = true;
    std::uint64_t fileBytesDone = 0;
    std::uint64_t fileBytesTotal = 0;
    BatchProgressView batch;
};

struct FileFinishedEvent {
    FileResult file;
};

// Lines the run writes of its own (folders left out, the listing's lines, the reliability test's
// report, the full report's notice): every entry but the last ends its line; the last begins one
// that the next event continues, and is empty when the text ends its line.
struct ReportTextEvent {
    enum class Place {
        End,
        // After the report filled up: its last kRoomForClosingLines characters give way first.
        InRoomMade,
        // In place of the whole report.
        NewReport,
    };
    QStringList lines;
    Place place = Place::End;
};

// The walk is over. The closing lines (none in a reliability test's runs) need the rest.
struct RunFinishedEvent {
    RunResult result;
    bool closingLines = true;
    // An operation's totals; a randomness listing has the number of files only.
    bool operation = true;
    bool encrypting = true;
    double elapsedSeconds = 0.0;
    QDateTime now;
};

struct StatusEvent {
    RunStatus status = RunStatus::None;
};

using ReportEvent = std::variant<RunStartedEvent, FolderStartedEvent, FileStartedEvent, ProgressEvent,
                                 FileFinishedEvent, ReportTextEvent, RunFinishedEvent, StatusEvent>;

}  // namespace kyv
