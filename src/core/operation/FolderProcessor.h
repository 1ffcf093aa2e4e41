#pragma once
// The per-folder engine of an operation: takes each folder's plan from the walk, refuses duplicate
// output names, then takes each file through the per-file checks, the cipher engine and (in place)
// the temporary-file protocol, making a FileResult per file that the report formatter words and
// the run's result counts; then the subfolders, depth-first.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/common/BatchProgressMeter.h"
#include "core/files/FolderWalk.h"
#include "core/operation/EngineCall.h"
#include "core/operation/FileRefusal.h"
#include "core/operation/FileResult.h"
#include "core/operation/ReportEvent.h"
#include "platform/FileIdentity.h"
#include "platform/FolderLock.h"
#include "platform/OpenedFile.h"

namespace kyv {

struct OperationContext;

class FolderProcessor final : public FolderWalkVisitor {
public:
    explicit FolderProcessor(OperationContext& context);

    // Walks the run request's folders.
    void ProcessFolders();

    // FolderWalkVisitor
    bool Enter(const platform::FilePath& inputFolder, const platform::FilePath& outputFolder,
               bool sameFolder) override;
    void Leave() override;
    WalkOn Unreadable(const platform::FilePath& folder, const QString& errorText) override;
    WalkOn Visit(const FolderPlan& plan) override;
    bool GoOn() override;

private:
    // Whether the folder's work goes on after a step, or ends at once with its subfolders left out
    // (a stop that a failure or the user's answer asked for, or a folder that cannot be done).
    enum class [[nodiscard]] Flow{GoOn, LeaveFolder};

    // The engine on one file: done, or the engine's result code.
    [[nodiscard]] FileResult::Outcome RunEngineOnFile(const std::filesystem::path& input,
                                                      const std::filesystem::path& output,
                                                      std::uint64_t inputLength);

    // The input and output folders of one plan: their paths (ending in a separator) and the
    // folders held open for looking at their files.
    struct Folders {
        platform::FilePath input;
        platform::FilePath output;
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
    Flow FolderLeftOut(const platform::FilePath& folder, const QString& why);
    // Leaves the folder on duplicate output names, or a stop.
    Flow ProcessPlannedFiles(const FolderPlan& plan);
    Flow ProcessEachFile(const FolderPlan& plan);
    Flow ReportLinkedFolders(const FolderPlan& plan);
    Flow ReportLeftOutEntries(const FolderPlan& plan);

    Flow ProcessFile(int index, const Folders& folders);
    // What the refusal rules look at: the input as opened and, unless in place, what lies under the
    // output name.
    [[nodiscard]] static FileFacts FactsOf(const FileResult& file, const platform::OpenedFile& opened,
                                           const Folders& folders);
    // The file's length and the work on it, once it is known to be a file to work on or to be
    // refused after its length is shown.
    Flow WorkOnFile(FileResult& file, platform::OpenedFile& opened, const FileFacts& facts, Refusal refusal);
    // What the result left: its length, and in place where a partial plaintext lies.
    void NoteWhatTheResultLeft(FileResult& file) const;
    // "Anomaly": true when the user would not decrypt a file that seems not to be encrypted.
    [[nodiscard]] bool SkipUnencryptedLookingFile(const std::filesystem::path& input);
    // "Abort?" after a skipped file other than the folder's last; leaves the folder on Yes.
    Flow OfferAbortAfterSkip(int index);
    // The engine into a file beside the output name, which takes that name once the input is known
    // to be unchanged; sets the file's partial-plaintext or temporary path.
    [[nodiscard]] FileResult::Outcome RunIntoOutput(FileResult& file, const platform::OpenedFile& input,
                                                    std::uint64_t inputLength);
    // After a failed engine call: a partial decryption is kept, under the output name where that was
    // free; anything else beside the output name is removed.
    static void KeepPartialPlaintext(FileResult& file, const platform::OpenedFile& input,
                                     const platform::FilePath& beside, bool outputFree);
    // The finished result takes the output name, unless the input changed while it was read.
    [[nodiscard]] static FileResult::Outcome NameTheResult(FileResult& file,
                                                           const platform::OpenedFile& input,
                                                           const platform::FilePath& beside);
    // The finished encryption, read back from its device, authenticates with the key.
    [[nodiscard]] bool ResultReadsBackIntact(const std::filesystem::path& result);
    [[nodiscard]] FileResult::Outcome ProcessInPlace(FileResult& file, platform::OpenedFile& input);
    // Before the original of a file that antivirus software watches is purged after encryption.
    void AdviseBeforePurge(const platform::FilePath& path);

    // Tells the report; a report that cannot grow is a run-time failure.
    Flow Deliver(const ReportEvent& event);
    // Lines of the walk's own.
    Flow Write(const QStringList& lines);
    Flow WriteLineBreak();
    // Tells the user and lets the report's buffer-full handling decide; leaves the folder when that
    // asked for a stop.
    Flow RunTimeFailure(const QString& description);

    OperationContext& context_;
    RefusalSetup refusals_;
    EngineCaller engineCaller_;
    BatchProgressMeter batchProgress_;
    std::vector<std::unique_ptr<FolderLocks>> locks_;
};

}  // namespace kyv
