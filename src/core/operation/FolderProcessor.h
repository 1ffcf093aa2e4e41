#pragma once
// The per-folder engine of an operation: takes each folder's plan from the walk, refuses duplicate
// output names, then takes each file through the per-file checks, the cipher engine and (in place)
// the temporary-file protocol, making a FileResult per file that the report formatter words and
// the run's result counts; then the subfolders, depth-first.

#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/common/BatchProgressMeter.h"
#include "core/files/FolderWalk.h"
#include "core/operation/EngineCall.h"
#include "core/operation/FileResult.h"
#include "platform/FileIdentity.h"
#include "platform/FolderLock.h"
#include "platform/OpenedFile.h"

namespace kyv {

struct OperationContext;

// What a file is before the engine is called: gone or no file, empty, or too small to decrypt;
// none when it goes on to the engine.
[[nodiscard]] std::optional<FileResult::Outcome> OutcomeBeforeEngine(const platform::FileIdentity& input,
                                                                     bool encrypting);

class FolderProcessor final : public FolderWalkVisitor {
public:
    explicit FolderProcessor(OperationContext& context);

    // Walks the run request's folders.
    void ProcessFolders();

    // FolderWalkVisitor
    bool Enter(const QString& inputFolder, const QString& outputFolder, bool sameFolder) override;
    void Leave() override;
    WalkOn Unreadable(const QString& folder, const QString& errorText) override;
    WalkOn Visit(const FolderPlan& plan) override;
    bool GoOn() override;

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
    // Writing into `output` (what is there now) from `input`: refused when it would replace the
    // program or the current keyfile, or, in an in-place run, when the input is refused.
    [[nodiscard]] std::optional<FileDecision> RefusalOfOutput(const FileResult& file,
                                                              const platform::FileIdentity& input,
                                                              const platform::FileIdentity& output) const;
    // The engine on one file: done, or the engine's result code.
    [[nodiscard]] FileResult::Outcome RunEngineOnFile(const std::filesystem::path& input,
                                                      const std::filesystem::path& output,
                                                      std::uint64_t inputLength);

    // The input and output folders of one plan: their paths (ending in a separator) and the
    // folders held open for looking at their files.
    struct Folders {
        QString input;
        QString output;
        platform::OpenFolder openInput;
        platform::OpenFolder openOutput;
        bool same = false;  // input and output are one folder
    };
    // The folder (and a different output folder), taken for this run alone while it and its
    // subfolders are worked on.
    struct FolderLocks {
        platform::FolderLock input;
        platform::FolderLock output;
    };

    // A folder whose files are left out: its path and why, in the report; the run is no success.
    void FolderLeftOut(const QString& folder, const QString& why);
    // False when the subfolders are left out: duplicate output names, or a stop.
    [[nodiscard]] bool ProcessPlannedFiles(const FolderPlan& plan);
    void ReportLinkedFolders(const FolderPlan& plan);
    void ReportLeftOutEntries(const FolderPlan& plan);

    void ProcessFile(int index, const Folders& folders);
    // The file's length and the work on it, once it is known to be a file to work on.
    void WorkOnFile(FileResult& file, platform::OpenedFile& opened, const platform::FileIdentity& input,
                    const Folders& folders);
    [[nodiscard]] FileResult::Outcome RunEngineStep(FileResult& file, platform::OpenedFile& opened,
                                                    const platform::FileIdentity& input,
                                                    const Folders& folders);
    // "Anomaly": true when the user would not decrypt a file that seems not to be encrypted.
    [[nodiscard]] bool SkipUnencryptedLookingFile(const std::filesystem::path& input);
    // "Abort?" after a skipped file other than the folder's last; leaves the folder on Yes.
    void OfferAbortAfterSkip(int index);
    // The engine into a file beside the output name, which takes that name once the input is known
    // to be unchanged; sets the file's partial-plaintext or temporary path.
    [[nodiscard]] FileResult::Outcome RunIntoOutput(const platform::OpenedFile& input, FileResult& file,
                                                    std::uint64_t inputLength);
    // The finished encryption, read back from its device, authenticates with the key.
    [[nodiscard]] bool ResultReadsBackIntact(const std::filesystem::path& result);
    [[nodiscard]] FileResult::Outcome ProcessInPlace(FileResult& file, platform::OpenedFile& input);
    // Before the original of a file that antivirus software watches is purged after encryption.
    void AdviseBeforePurge(const QString& path);

    // Appends to the report; a report that cannot grow is a run-time failure.
    void Append(const QString& text, bool moveCaret = false);
    void AppendLineBreak();
    // Tells the user and lets the report's buffer-full handling decide; leaves the folder (by
    // throwing) when that asked for a stop.
    void RunTimeFailure(const QString& description);

    OperationContext& context_;
    ProtectedFile executable_;
    ProtectedFile keyfile_;
    EngineCaller engineCaller_;
    BatchProgressMeter batchProgress_;
    std::vector<std::unique_ptr<FolderLocks>> locks_;
};

}  // namespace kyv
