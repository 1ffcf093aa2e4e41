#include "core/operation/FolderProcessor.h"
#include "core/common/RandomnessThresholds.h"

#include <QFile>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <system_error>

#include "core/common/DirectionWord.h"
#include "core/common/LineBreak.h"
#include "core/common/NumberText.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/files/FolderPath.h"
#include "core/files/NameText.h"
#include "core/files/OutputName.h"
#include "core/operation/FileRefusal.h"
#include "core/operation/InPlaceFiles.h"
#include "core/operation/InPlaceReplacement.h"
#include "core/operation/OperationContext.h"
#include "core/operation/OperationWalk.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/filelib/Purge.h"
#include "engine/filelib/Randomness.h"
#include "platform/Drives.h"
#include "platform/FileIdentity.h"

namespace kyv {

namespace fs = std::filesystem;

namespace {

// Besides the pause point after every file, every tenth file ends the folder's line on a stop.
constexpr int kStopCheckFileInterval = 10;
// No engine code: the engine was missing or threw.
constexpr auto kEngineFailedUnexpectedly = static_cast<cipher::CipherResult>(-1);

bool IsNonEmptyFile(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    return !error && fs::is_regular_file(status) && fs::file_size(path, error) > 0 && !error;
}

}  // namespace

FolderProcessor::FolderProcessor(OperationContext& context)
    : context_(context),
      batchProgress_(context.batchBytes, context.clock, context.state.pausedSeconds, context.sink)
{
    const auto protect = [](const FilePath& path) {
        if (path.IsEmpty()) return ProtectedFile{};
        return ProtectedFile{LowerCaseText(path.Text()), platform::IdentifyFile(path)};
    };
    refusals_.encrypting = context.setup.Encrypts();
    refusals_.inPlaceRun = context.setup.inPlace;
    refusals_.executable = protect(context.executablePath);
    refusals_.keyfile = protect(context.keyfilePath);
    refusals_.extensions = context.protectedExtensions;
}

FolderProcessor::Flow FolderProcessor::Deliver(const ReportEvent& event)
{
    if (context_.sink.Deliver(event)) return Flow::GoOn;
    return RunTimeFailure(QStringLiteral("The report text cannot grow any further."));
}

FolderProcessor::Flow FolderProcessor::Write(const QStringList& lines)
{
    return Deliver(ReportTextEvent{lines});
}

FolderProcessor::Flow FolderProcessor::WriteLineBreak() { return Write(LineBreakLines()); }

FolderProcessor::Flow FolderProcessor::RunTimeFailure(const QString& description)
{
    context_.prompter.Tell(description, QStringLiteral("Error"), MessageIcon::Exclamation);
    context_.sink.ReportBufferFull();
    return context_.sink.StopRequested() ? Flow::LeaveFolder : Flow::GoOn;
}

FileResult::Outcome FolderProcessor::RunEngineOnFile(const fs::path& input, const fs::path& output,
                                                     std::uint64_t inputLength)
{
    FileResult::Outcome outcome = FileDecision::Done;
    if (context_.engine == nullptr || context_.key == nullptr) {
        outcome = kEngineFailedUnexpectedly;
    } else {
        const bool encrypt = context_.setup.Encrypts();
        cipher::CipherEngine& engine = *context_.engine;
        try {
            outcome = EngineOutcome(engineCaller_.Run(engine, *context_.key, encrypt, input, output,
                                                      inputLength, context_.sink, batchProgress_));
        } catch (const std::exception& failure) {
            // Something the engine could not word (memory, threads): this file fails and the run
            // stops, since the next file would most likely fail the same way.
            context_.prompter.Tell(QString::fromLocal8Bit(failure.what()), QStringLiteral("Error"),
                                   MessageIcon::Exclamation);
            context_.sink.RequestStop();
            outcome = kEngineFailedUnexpectedly;
        }
    }
    return outcome;
}

void FolderProcessor::ProcessFolders()
{
    (void)WalkFolders(OperationWalkRequest(context_.setup, context_.state.request), *this);
}

bool FolderProcessor::Enter(const FilePath& inputFolder, const FilePath& outputFolder, bool sameFolder)
{
    using Outcome = platform::FolderLock::Outcome;
    auto locks = std::make_unique<FolderLocks>();
    const FilePath busy = locks->input.TryLock(inputFolder) == Outcome::HeldByOther ? inputFolder
                          : !sameFolder && locks->output.TryLock(outputFolder) == Outcome::HeldByOther
                              ? outputFolder
                              : FilePath();
    if (busy.IsEmpty()) {
        locks_.push_back(std::move(locks));
        return true;
    }
    const QString why = QStringLiteral("Another run is working in the folder ") + busy.Display() +
                        QStringLiteral(". Nothing in it was changed; run again when that run has ended.");
    context_.prompter.Tell(why, QStringLiteral("Folder in use"), MessageIcon::Exclamation);
    // The folder is left out whether or not its lines reached the report.
    (void)FolderLeftOut(inputFolder, why);
    return false;
}

void FolderProcessor::Leave() { locks_.pop_back(); }

WalkOn FolderProcessor::Unreadable(const FilePath& folder, const QString& errorText)
{
    // A folder that cannot be read is named in the report; the rest of the run goes on, and the run
    // is no success.
    context_.prompter.Tell(errorText, QStringLiteral("Error"), MessageIcon::Exclamation);
    (void)FolderLeftOut(folder, QStringLiteral("Error: ") + errorText);
    return WalkOn::SkipSubfolders;
}

WalkOn FolderProcessor::Visit(const FolderPlan& plan)
{
    if (ProcessPlannedFiles(plan) == Flow::LeaveFolder || ReportLeftOutEntries(plan) == Flow::LeaveFolder)
        return WalkOn::SkipSubfolders;
    if (context_.setup.includeSubfolders && ReportLinkedFolders(plan) == Flow::LeaveFolder)
        return WalkOn::SkipSubfolders;
    return WalkOn::Subfolders;
}

bool FolderProcessor::GoOn()
{
    context_.sink.PausePoint();
    return !context_.sink.StopRequested();
}

FolderProcessor::Flow FolderProcessor::ProcessPlannedFiles(const FolderPlan& plan)
{
    OperationContext& c = context_;
    RunState& state = c.state;
    const int fileCount = static_cast<int>(plan.inputNames.size());
    c.working.fileListCount = fileCount;
    if (fileCount == 0) return Flow::GoOn;
    if (Deliver(FolderStartedEvent{c.setup.Encrypts(), state.request.inputSpec, plan.inputFolder}) ==
        Flow::LeaveFolder)
        return Flow::LeaveFolder;
    state.inputNames = plan.inputNames;
    state.outputNames = plan.outputNames;
    if (plan.outputNamesCollide) {
        state.result.duplicateOutputNames = true;
        return Flow::LeaveFolder;
    }
    if (ProcessEachFile(plan) == Flow::LeaveFolder) return Flow::LeaveFolder;
    if (!state.control.reliabilityTestRunning) {
        state.inputNames.clear();
        state.outputNames.clear();
    }
    return Flow::GoOn;
}

FolderProcessor::Flow FolderProcessor::ProcessEachFile(const FolderPlan& plan)
{
    ReportSink& sink = context_.sink;
    const Folders folders{plan.inputFolder, plan.outputFolder, platform::OpenFolder(plan.inputFolder),
                          platform::OpenFolder(plan.outputFolder), plan.sameFolder};
    const int fileCount = static_cast<int>(plan.inputNames.size());
    for (int i = 0; i < fileCount; ++i) {
        if (ProcessFile(i, folders) == Flow::LeaveFolder) return Flow::LeaveFolder;
        if (i % kStopCheckFileInterval == 0 && sink.StopRequested()) {
            // The folder's line ends, and the folder is left either way.
            (void)WriteLineBreak();
            return Flow::LeaveFolder;
        }
        sink.PausePoint();
        if (sink.StopRequested()) return Flow::LeaveFolder;
    }
    return WriteLineBreak();
}

FolderProcessor::Flow FolderProcessor::ReportLinkedFolders(const FolderPlan& plan)
{
    // A link could lead anywhere, outside the chosen tree too: it is named, not entered.
    for (const QString& link : plan.linkedFolders) {
        if (Write({LinkedFolderLine(plan.inputFolder / link), QString()}) == Flow::LeaveFolder)
            return Flow::LeaveFolder;
    }
    return Flow::GoOn;
}

FolderProcessor::Flow FolderProcessor::ReportLeftOutEntries(const FolderPlan& plan)
{
    // The file specification asked for these, and the run cannot take them: each is named, and what an
    // encryption leaves of them stays plaintext.
    for (const LeftOutEntry& entry : plan.leftOut) {
        const bool wildcard = entry.reason == LeftOutEntry::Reason::WildcardInName;
        if (Write({LeftOutEntryLine(plan.inputFolder / entry.name, wildcard), QString()}) ==
            Flow::LeaveFolder)
            return Flow::LeaveFolder;
        if (context_.setup.Encrypts()) ++context_.state.result.plaintextLeftOut;
    }
    return Flow::GoOn;
}

FolderProcessor::Flow FolderProcessor::FolderLeftOut(const FilePath& folder, const QString& why)
{
    ++context_.state.result.foldersNotProcessed;
    if (Write({folder.Display(), QString()}) == Flow::LeaveFolder) return Flow::LeaveFolder;
    return Write({why, QString(), QString()});
}

bool FolderProcessor::SkipUnencryptedLookingFile(const fs::path& input)
{
    OperationContext& c = context_;
    // A file whose header the key opens was encrypted by this program with this key: its bytes are
    // the cipher's, which measure as random, so the measure's full read of the file is spared.
    if (c.engine != nullptr && c.key != nullptr && c.engine->IsEncryptedWithKey(*c.key, input)) return false;
    const double randomness = filelib::FileRandomness(input, kMinFileSizeForRandomness);
    if (randomness >= kMinEncryptedRandomness) return false;
    const MessageAnswer decryptAnyway =
        c.prompter.Ask(Message{QStringLiteral("This file appears NOT to be encrypted?") + kLineBreak +
                                   QStringLiteral("Attempt to decrypt it anyway?"),
                               QStringLiteral("Anomaly"), MessageButtons::YesNo, MessageIcon::None, 2});
    return decryptAnyway != MessageAnswer::Yes;
}

FolderProcessor::Flow FolderProcessor::OfferAbortAfterSkip(int index)
{
    OperationContext& c = context_;
    const bool lastFile = index == c.state.inputNames.size() - 1;
    if (lastFile) return Flow::GoOn;
    const MessageAnswer abort = c.prompter.Ask(Message{
        QStringLiteral("Abort this ") + DirectionWord(c.setup.Encrypts(), QStringLiteral("encryption")) +
            QStringLiteral(" operation?"),
        QStringLiteral("Abort?"), MessageButtons::YesNo, MessageIcon::None, 1});
    if (abort == MessageAnswer::Yes) c.sink.RequestStop();
    return abort == MessageAnswer::Yes ? Flow::LeaveFolder : Flow::GoOn;
}

FolderProcessor::Flow FolderProcessor::ProcessFile(int index, const Folders& folders)
{
    RunState& state = context_.state;
    FileResult file;
    file.encrypting = context_.setup.Encrypts();
    file.inputName = state.inputNames.at(index);
    file.outputName = state.outputNames.at(index);
    file.inputPath = folders.input / file.inputName;
    file.outputPath = folders.output / file.outputName;

    // The file is read through this one descriptor: what is checked before its original is purged
    // is the very file that was read.
    platform::OpenedFile opened(folders.openInput.Descriptor(), file.inputPath.Name(), file.inputPath);
    const FileFacts facts = FactsOf(file, opened, folders);
    const Refusal refusal = RefusalOf(facts, refusals_);
    if (!RefusedBeforeLength(refusal)) file.inputLength = facts.input.size;
    if (Deliver(FileStartedEvent{file.inputName, file.inputLength}) == Flow::LeaveFolder)
        return Flow::LeaveFolder;
    ++state.result.filesProcessed;
    if (RefusedBeforeLength(refusal))
        file.outcome = RefusalOutcome(refusal);
    else if (WorkOnFile(file, opened, facts, refusal) == Flow::LeaveFolder)
        return Flow::LeaveFolder;

    state.result.Record(file);
    batchProgress_.FileEnded(facts.input.Seen() && facts.input.regular ? facts.input.size : 0);
    if (Deliver(FileFinishedEvent{file}) == Flow::LeaveFolder) return Flow::LeaveFolder;
    if (file.Is(FileDecision::SkippedNotEncrypted)) return OfferAbortAfterSkip(index);
    return Flow::GoOn;
}

FileFacts FolderProcessor::FactsOf(const FileResult& file, const platform::OpenedFile& opened,
                                   const Folders& folders)
{
    FileFacts facts;
    facts.inputPath = file.inputPath;
    // A file that cannot be opened is still looked at, so that its line says what it is.
    const FilePath inputEntry = file.inputPath.Name();
    facts.input = opened.AtOpen().Seen() || opened.AtOpen().error == ENOENT
                      ? opened.AtOpen()
                      : folders.openInput.Identify(inputEntry);
    // In place means the same name in the same folder. Another name of the same file (a hard or
    // symbolic link) is an output like any other: replaced as a new file, nothing purged.
    const FilePath outputEntry = file.outputPath.Name();
    facts.inPlace = folders.same && inputEntry == outputEntry;
    facts.outputPath = file.outputPath;
    if (!facts.inPlace) facts.output = folders.openOutput.Identify(outputEntry);
    return facts;
}

FolderProcessor::Flow FolderProcessor::WorkOnFile(FileResult& file, platform::OpenedFile& opened,
                                                  const FileFacts& facts, Refusal refusal)
{
    const std::uint64_t size = facts.input.size;
    if (!file.encrypting && size >= static_cast<std::uint64_t>(kMinFileSizeForRandomness) &&
        SkipUnencryptedLookingFile(opened.ReadPath())) {
        file.outcome = FileDecision::SkippedNotEncrypted;
        return Flow::GoOn;
    }
    ProgressEvent workBegins;
    workBegins.of = ProgressEvent::Of::FileWorkBegins;
    workBegins.encrypting = file.encrypting;
    workBegins.fileBytesTotal = size;
    if (Deliver(workBegins) == Flow::LeaveFolder) return Flow::LeaveFolder;
    file.inPlace = facts.inPlace;
    if (refusal != Refusal::None)
        file.outcome = RefusalOutcome(refusal);
    else
        file.outcome = file.inPlace ? ProcessInPlace(file, opened) : RunIntoOutput(file, opened, size);
    NoteWhatTheResultLeft(file);
    return Flow::GoOn;
}

void FolderProcessor::NoteWhatTheResultLeft(FileResult& file) const
{
    if (file.Is(FileDecision::Done) || file.PurgeFellShort())
        file.outputLength = engineCaller_.LastOutputLength();
    if (file.inPlace && file.MayLeavePartialPlaintext()) file.partialPlaintextPath = file.temporaryPath;
}

bool FolderProcessor::ResultReadsBackIntact(const fs::path& result)
{
    try {
        return context_.engine->Verify(*context_.key, result).Succeeded();
    } catch (const std::exception&) {
        return false;
    }
}

FileResult::Outcome FolderProcessor::RunIntoOutput(FileResult& file, const platform::OpenedFile& input,
                                                   std::uint64_t inputLength)
{
    std::error_code error;
    const bool outputFree = !fs::exists(fs::symlink_status(file.outputPath, error));
    // The result is made beside the output name and takes that name only once the input is known
    // to be as it was read: a file that changed meanwhile leaves no output under its name. A
    // decryption that fails partway must not cost a file already under the output name either.
    const FilePath beside = ReserveNameBeside(file.outputPath);
    if (beside.IsEmpty()) return FileDecision::NoTemporaryName;
    file.outcome = RunEngineOnFile(input.ReadPath(), beside, inputLength);
    if (file.Is(FileDecision::Done)) return NameTheResult(file, input, beside);
    KeepPartialPlaintext(file, input, beside, outputFree);
    if (IsReadFailure(file.outcome) && !input.DataUnchanged()) return FileDecision::ChangedWhileRead;
    return file.outcome;
}

void FolderProcessor::KeepPartialPlaintext(FileResult& file, const platform::OpenedFile& input,
                                           const FilePath& beside, bool outputFree)
{
    if (!file.MayLeavePartialPlaintext() || !IsNonEmptyFile(beside)) {
        std::error_code error;
        fs::remove(beside, error);
        return;
    }
    // Partial plaintext goes under the output name only where no file had that name.
    const bool named = outputFree && input.DataUnchanged() && MoveToFreeName(beside, file.outputPath);
    file.partialPlaintextPath = named ? file.outputPath.Name() : beside;
}

FileResult::Outcome FolderProcessor::NameTheResult(FileResult& file, const platform::OpenedFile& input,
                                                   const FilePath& beside)
{
    std::error_code error;
    if (!input.DataUnchanged()) {
        fs::remove(beside, error);
        return FileDecision::ChangedWhileRead;
    }
    // The engine flushed the result's data; the new name is what remains to be made durable.
    fs::rename(beside, file.outputPath, error);
    if (error || !FlushFolderEntry(file.outputPath)) {
        file.temporaryPath = beside;
        return FileDecision::RenameFailed;
    }
    return FileDecision::Done;
}

FileResult::Outcome FolderProcessor::ProcessInPlace(FileResult& file, platform::OpenedFile& input)
{
    const bool encrypting = context_.setup.Encrypts();
    InPlaceReplacement replacement(file.inputPath, input, context_.floppies);
    replacement.ReserveTemporary();
    if (!replacement.Ended()) {
        replacement.ResultWritten(
            RunEngineOnFile(input.ReadPath(), replacement.TemporaryPath(), input.AtOpen().size));
    }
    replacement.Flush();
    if (encrypting)
        replacement.ReadBack([this](const fs::path& result) { return ResultReadsBackIntact(result); });
    if (!replacement.Ended()) AdviseBeforePurge(file.inputPath);
    replacement.PurgeOriginal(encrypting ? filelib::kPurgeAfterEncryption : filelib::kPurgeAfterDecryption);
    replacement.Rename();
    file.temporaryPath = replacement.TemporaryPath();
    file.emptiedOriginalPath = replacement.EmptiedOriginalPath();
    return replacement.Outcome();
}

void FolderProcessor::AdviseBeforePurge(const FilePath& path)
{
    OperationContext& c = context_;
    // The advice goes by the file's type, a matter of its name's text.
    if (c.setup.Encrypts() && IsAntivirusSensitiveType(path.Text()) && c.purgeAdvice != nullptr)
        c.purgeAdvice->ShowPurgeAdvice(path.Text(), true, c.state, c.clock);
}

}  // namespace kyv
