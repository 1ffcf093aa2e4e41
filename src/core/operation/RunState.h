#pragma once
// The state of one run in the report window: what the starting command asked for, the stop and
// pause flags, what the run came to, and where the walk is. The application owns one; the report window
// shows it, and the operation reads and writes it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "core/operation/RunResult.h"
#include "platform/FilePath.h"

namespace kyv {

// What a run does: re-display the last report ("Report screen"), an operation (the launch,
// also for the reliability test), or the randomness report's listing.
enum class RunKind { Redisplay, Operation, RandomnessListing };

// What the command that starts a run asks for: the kind and the folders and specifications (the
// listing uses the input side only).
struct RunRequest {
    RunKind kind = RunKind::Redisplay;
    platform::FilePath inputFolder;
    QString inputSpec;
    platform::FilePath outputFolder;
    QString outputSpec;
};

// What the window tells the run while it goes, and the window's own run flags.
struct RunControl {
    bool stopRequested = false;
    bool paused = false;
    bool reportSuppressed = false;
    bool reliabilityReport = false;       // the window shows a reliability-test report
    bool reliabilityTestRunning = false;  // the runs are the reliability test's
    bool runInProgress = false;           // ProcessFiles is running; a second run is refused
};

struct RunState {
    RunRequest request;
    RunControl control;
    // What the run came to, read by the caller after ProcessFiles; the walk advances its counts.
    RunResult result;

    double pausedSeconds = 0.0;  // seconds paused or spent reading the purge advice

    // Names of the folder being worked on (kept after the folder for a reliability test): its plan's.
    QStringList inputNames;
    QStringList outputNames;

    // What run start resets.
    void ResetCounters()
    {
        control.stopRequested = false;
        control.paused = false;
        control.reliabilityReport = false;
        result = RunResult{};
    }
};

}  // namespace kyv
