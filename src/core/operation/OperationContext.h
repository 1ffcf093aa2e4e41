#pragma once
// Everything a run of the report window works with, handed to ProcessFiles and ProcessFolder by
// the command that starts the run (the launch, the randomness report, "Report screen").

#include <QString>
#include <cstdint>

#include "core/operation/FileTypes.h"
#include "platform/Drives.h"
#include "platform/FilePath.h"

namespace kyv {

class Clock;
class Prompter;
class PurgeAdvice;
class ReportSink;
class RunController;
struct OperationSetup;
struct RunState;
struct WorkingValues;

namespace cipher {
class CipherEngine;
class Key;
}  // namespace cipher

struct OperationContext {
    const OperationSetup& setup;
    WorkingValues& working;
    RunState& state;
    ReportSink& sink;
    Prompter& prompter;
    const Clock& clock;

    // Needed by an operation; a re-display of the report or a randomness report leaves them unset.
    cipher::CipherEngine* engine = nullptr;
    // The lengthened key; owned by the caller.
    const cipher::Key* key = nullptr;
    // The current keyfile when the key came from one, else empty: it is never changed in place.
    platform::FilePath keyfilePath;
    // The program's own file: never changed in place.
    platform::FilePath executablePath;
    // Advice before purging a file that antivirus software watches; none means no advice.
    PurgeAdvice* purgeAdvice = nullptr;

    ProtectedExtensions protectedExtensions;

    // Carries the run to a worker thread while the window goes on; none: the run works on the
    // calling thread (the command-line tool, tests).
    RunController* runController = nullptr;

    // The inputs' sizes as counted before the run, for the batch's progress; 0: not known.
    std::uint64_t batchBytes = 0;

    // The folders that count as floppy drives (tests declare some).
    platform::FloppyFolders floppies{};
};

}  // namespace kyv
