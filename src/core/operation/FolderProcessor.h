#pragma once
// The per-folder engine of an operation: lists a folder's matching files and their output names,
// refuses duplicate output names, then takes each file through the per-file checks, the cipher
// engine and (in place) the temporary-file protocol, writing one report line per file; then the
// subfolders, depth-first. The size-gathering pass goes through the same folders adding up sizes.

#include <QString>
#include <cstdint>
#include <filesystem>

#include "core/files/FolderWalkGuard.h"
#include "core/operation/EngineCall.h"
#include "platform/FileIdentity.h"

namespace kyv {

struct OperationContext;

class FolderProcessor {
public:
    explicit FolderProcessor(OperationContext& context);

    void ProcessFolder(const QString& inputDirpath, const QString& inputFilespec,
                       const QString& outputDirpath, const QString& outputFilespec);

private:
    struct FileOutcome;
    // A file the run never replaces, known by its path (compared without letter case) and by what
    // it is (so that another spelling or a link to it is known too).
    struct ProtectedFile {
        QString lowerPath;
        platform::FileIdentity identity;
        [[nodiscard]] bool Is(const QString& lowerPath, const platform::FileIdentity& identity) const;
    };

    // Refuses the program's own file (1), the current keyfile (2) and protected extensions (7)
    // for in-place work; 0 when the file may be changed.
    [[nodiscard]] int CheckInPlaceTarget(const QString& path, const platform::FileIdentity& identity) const;
    // The program's own file (1) or the current keyfile (2): never replaced; else 0.
    [[nodiscard]] int ProgramFileStatus(const QString& path, const platform::FileIdentity& identity) const;
    // The engine on one file; a status of the operation or the engine's result code.
    [[nodiscard]] int RunEngineOnFile(const std::filesystem::path& input, const std::filesystem::path& output,
                                      std::uint64_t inputLength);

    // The input and output folders of one ProcessFolder call: their paths (ending in a
    // separator) and the folders held open for looking at their files.
    struct Folders {
        QString input;
        QString output;
        platform::OpenFolder openInput;
        platform::OpenFolder openOutput;
    };

    void GatherSizes(const Folders& folders);
    void ProcessFile(int index, const Folders& folders);
    [[nodiscard]] bool SkipUnencryptedLookingFile(int index, const QString& inputPath);
    [[nodiscard]] int ProcessInPlace(const QString& path, const platform::FileIdentity& identity,
                                     QString& temporaryPath);
    void WalkSubfolders(const QString& inputFolder, const QStringList& subfolders,
                        const QString& inputFilespec, const QString& outputFilespec);

    // Appends to the report; a report that cannot grow is a run-time failure.
    void Append(const QString& text, bool moveCaret = false);
    void AppendLineBreak();
    // Tells the user and lets the report's buffer-full handling decide; leaves the folder (by
    // throwing) when that asked for a stop.
    void RunTimeFailure(const QString& description);

    OperationContext& context_;
    FolderWalkGuard walkGuard_;
    ProtectedFile executable_;
    ProtectedFile keyfile_;
    EngineCaller engineCaller_;
};

}  // namespace kyv
