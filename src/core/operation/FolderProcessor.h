#pragma once
// The per-folder engine of an operation: lists a folder's matching files and their output names,
// refuses duplicate output names, then takes each file through the per-file checks, the cipher
// engine and (in place) the temporary-file protocol, making a FileResult per file that the report
// formatter words and the run's result counts; then the subfolders, depth-first. The size-gathering
// pass goes through the same folders adding up sizes.

#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/files/FolderWalkGuard.h"
#include "core/operation/EngineCall.h"
#include "core/operation/FileResult.h"
#include "platform/FileIdentity.h"
#include "platform/FolderLock.h"
#include "platform/OpenedFile.h"

namespace kyv {

struct OperationContext;

class FolderProcessor {
public:
    explicit FolderProcessor(OperationContext& context);

    void ProcessFolder(const QString& inputDirpath, const QString& inputFilespec,
                       const QString& outputDirpath, const QString& outputFilespec);

private:
    // A file the run never replaces, known by its path (compared without letter case) and by what
    // it is (so that another spelling or a link to it is known too).
    struct ProtectedFile {
        QString lowerPath;
        platform::FileIdentity identity;
        [[nodiscard]] bool Is(const QString& lowerPath, const platform::FileIdentity& identity) const;
    };

    // Refuses the program's own file, the current keyfile and protected extensions for in-place
    // work; none when the file may be changed.
    [[nodiscard]] std::optional<FileDecision> CheckInPlaceTarget(
        const QString& path, const platform::FileIdentity& identity) const;
    // The program's own file or the current keyfile: never replaced; else none.
    [[nodiscard]] std::optional<FileDecision> ProgramFileStatus(const QString& path,
                                                                const platform::FileIdentity& identity) const;
    // The engine on one file: done, or the engine's result code.
    [[nodiscard]] FileResult::Outcome RunEngineOnFile(const std::filesystem::path& input,
                                                      const std::filesystem::path& output,
                                                      std::uint64_t inputLength);

    // The input and output folders of one ProcessFolder call: their paths (ending in a
    // separator) and the folders held open for looking at their files.
    struct Folders {
        QString input;
        QString output;
        platform::OpenFolder openInput;
        platform::OpenFolder openOutput;
        bool same = false;  // input and output are one folder
    };

    // Takes the folder (and a different output folder) for this run alone; false, with the folder
    // named in the report, when another run works in it.
    [[nodiscard]] bool LockFolders(const QString& inputFolder, const QString& outputFolder, bool same,
                                   platform::FolderLock& inputLock, platform::FolderLock& outputLock);
    // A folder whose files are left out: its path and why, in the report; the run is no success.
    void FolderLeftOut(const QString& folder, const QString& why);

    void GatherSizes(const Folders& folders);
    void ProcessFile(int index, const Folders& folders);
    // "Anomaly": true when the user would not decrypt a file that seems not to be encrypted.
    [[nodiscard]] bool SkipUnencryptedLookingFile(const std::filesystem::path& input, std::uint64_t size);
    // "Abort?" after a skipped file other than the folder's last; leaves the folder on Yes.
    void OfferAbortAfterSkip(int index);
    // The engine into a new output file, or one beside an existing output so that a failed
    // decryption leaves that file as it was; sets the file's partial-plaintext or temporary path.
    [[nodiscard]] FileResult::Outcome RunIntoOutput(const std::filesystem::path& input, FileResult& file,
                                                    std::uint64_t inputLength);
    // The finished encryption, read back from its device, authenticates with the key.
    [[nodiscard]] bool ResultReadsBackIntact(const std::filesystem::path& result);
    [[nodiscard]] FileResult::Outcome ProcessInPlace(const QString& path, platform::OpenedFile& input,
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
