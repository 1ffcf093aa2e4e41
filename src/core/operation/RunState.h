#pragma once
// The state of one run in the report window: what the starting command asked for, the stop and
// pause flags, and the counters the walk advances. The application owns one; the report window
// shows it, and the operation reads and writes it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "core/operation/RunResult.h"

namespace kyv {

struct RunState {
    // Set by the command that starts a run.
    bool performingOperation = false;
    bool randomnessReport = false;
    bool gatheringInputSizes = false;
    bool performingReliabilityTest = false;
    QString inputFolder;
    QString inputSpec;
    QString outputFolder;
    QString outputSpec;
    QString nextFolder;
    QString currentSpec;

    // What the run came to, read by the caller after ProcessFiles; the walk advances its counts.
    RunResult result;

    // Flags of the running report.
    bool stopRequested = false;
    bool paused = false;
    bool reportSuppressed = false;
    bool reliabilityReport = false;  // the window shows a reliability-test report
    bool runInProgress = false;      // ProcessFiles is running; a second run is refused

    // Counters of the report.
    int reportLines = 0;
    double pausedSeconds = 0.0;  // seconds paused or spent reading the purge advice

    // Names of the folder being worked on (kept after the folder for a reliability test).
    QStringList inputNames;
    QStringList outputNames;

    // What run start resets.
    void ResetCounters()
    {
        stopRequested = false;
        paused = false;
        reliabilityReport = false;
        // The size-gathering pass's total is kept for the run that follows it.
        const qint64 totalInputSize = result.totalInputSize;
        result = RunResult{};
        result.totalInputSize = totalInputSize;
        reportLines = 0;
    }
};

}  // namespace kyv
