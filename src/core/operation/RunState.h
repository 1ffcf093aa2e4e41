#pragma once
// The state of one run in the report window: what the starting command asked for, the stop and
// pause flags, and the counters the walk advances. The application owns one; the report window
// shows it, and the operation reads and writes it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace kyv {

struct RunState {
    // Set by the command that starts a run.
    bool blnPerformingOperation = false;
    bool blnRandomnessReport = false;
    bool blnGettingInputFilesizes = false;
    bool blnPerformingReliabilityTest = false;
    QString strInputDirpath;
    QString strInputFilespec;
    QString strOutputDirpath;
    QString strOutputFilespec;
    QString strNextDirPath;
    QString strCurrentFileSpec;

    // Results read by the caller after ProcessFiles.
    int intOperationResult = 0;  // -1: the output specification gave duplicate names
    qint64 lngTotalInputFilesize = 0;

    // Flags of the running report.
    bool blnStop = false;
    bool blnPaused = false;
    bool blnReportSuppressed = false;
    bool blnReliabilityReport = false;  // the window shows a reliability-test report
    bool blnRunInProgress = false;      // ProcessFiles is running; a second run is refused

    // Counters of the run.
    int intFilesProcessed = 0;
    int intFilesDone = 0;
    qint64 lngBytesDone = 0;
    int intReportLines = 0;
    double sngPausedSeconds = 0.0;  // seconds paused or spent reading the purge advice

    // Names of the folder being worked on (kept after the folder for a reliability test).
    QStringList strInputNames;
    QStringList strOutputNames;

    // What run start resets.
    void ResetCounters()
    {
        blnStop = false;
        blnPaused = false;
        blnReliabilityReport = false;
        intFilesProcessed = 0;
        intFilesDone = 0;
        lngBytesDone = 0;
        intReportLines = 0;
    }
};

}  // namespace kyv
