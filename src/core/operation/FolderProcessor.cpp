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
#include "core/operation/InPlaceFiles.h"
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

// Thrown when a failure ended in a stop: the folder is left at once.
struct LeaveFolder {};

// The engine could not read the file to its end, as when it changed while being read.
bool IsReadFailure(const FileResult::Outcome& outcome)
{
    const auto* code = std::get_if<cipher::CipherResult>(&outcome);
    return code != nullptr &&
           (*code == cipher::CipherResult::ReadError || *code == cipher::CipherResult::ReadErrorAfterOutput);
}

bool IsNonEmptyFile(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    return !error && fs::is_regular_file(status) && fs::file_size(path, error) > 0 && !error;
}

// The reservation alone is no result; a partial result is left for the user.
void DropEmptyTemporary(QString& temporaryPath)
{
    std::error_code error;
    if (fs::file_size(ToFileSystemPath(temporaryPath), error) == 0 && !error) {
        fs::remove(ToFileSystemPath(temporaryPath), error);
        temporaryPath.clear();
    }
}

void RemoveTemporary(QString& temporaryPath)
{
    std::error_code error;
    fs::remove(ToFileSystemPath(temporaryPath), error);
    temporaryPath.clear();
}

// A file done whose original's purge fell short: the result is safe, but the disk may still hold
// the original's data, and the run says so.
FileResult::Outcome PurgeShortfall(const OriginalPurge& purge, FileResult& file)
{
    switch (purge.outcome) {
        case PurgeOutcome::DeletedNotOverwritten:
            return FileDecision::PurgeNotOverwritten;
        case PurgeOutcome::EmptiedNotDeleted:
            file.emptiedOriginalPath = purge.leftAt;
            return FileDecision::PurgeNotDeleted;
        default:
            return FileDecision::Done;
    }
}

}  // namespace

std::optional<FileResult::Outcome> OutcomeBeforeEngine(const platform::FileIdentity& input, bool encrypting)
{
    // Gone, locked or no longer a file since the folder was listed: worded like the engine would
    // word it.
    if (!input.Seen() || !input.regular)
        return input.error == ENOENT ? cipher::CipherResult::InputNotFound
                                     : cipher::CipherResult::InputCannotBeOpened;
    if (input.size == 0) return FileDecision::EmptyFile;
    if (!encrypting && input.size < 3) return FileDecision::TooSmallToDecrypt;
    return std::nullopt;
}

FolderProcessor::FolderProcessor(OperationContext& context)
    : context_(context),
      batchProgress_(context.batchBytes, context.clock, context.state.pausedSeconds, context.sink)
{
    const auto protect = [](const QString& path) {
        if (path.isEmpty()) return ProtectedFile{};
        return ProtectedFile{LowerCaseText(path), platform::IdentifyFile(ToFileSystemPath(path))};
    };
    executable_ = protect(context.executablePath);
    keyfile_ = protect(context.keyfilePath);
}

bool FolderProcessor::ProtectedFile::Is(const QString& otherLowerPath,
                                        const platform::FileIdentity& otherIdentity) const
{
    return !lowerPath.isEmpty() &&
           (lowerPath == otherLowerPath || platform::SameFile(identity, otherIdentity));
}

void FolderProcessor::Append(const QString& text, bool moveCaret)
{
    if (!context_.sink.AppendReport(text, moveCaret))
        RunTimeFailure(QStringLiteral("The report text cannot grow any further."));
}

void FolderProcessor::AppendLineBreak() { Append(kLineBreak); }

void FolderProcessor::RunTimeFailure(const QString& description)
{
    context_.prompter.Tell(description, QStringLiteral("Error"), MessageIcon::Exclamation);
    context_.sink.ReportBufferFull();
    if (context_.sink.StopRequested()) {
        context_.sink.SetAutoScroll(false);
        throw LeaveFolder{};
    }
}

std::optional<FileDecision> FolderProcessor::ProgramFileStatus(const QString& path,
                                                               const platform::FileIdentity& identity) const
{
    const QString lowerPath = LowerCaseText(path);
    if (executable_.Is(lowerPath, identity)) return FileDecision::OwnExecutable;
    if (keyfile_.Is(lowerPath, identity)) return FileDecision::CurrentKeyfile;
    return std::nullopt;
}

std::optional<FileDecision> FolderProcessor::CheckInPlaceTarget(const QString& path,
                                                                const platform::FileIdentity& identity) const
{
    if (const std::optional<FileDecision> programFile = ProgramFileStatus(path, identity)) return programFile;
    if (context_.protectedExtensions.Contains(LowerCaseText(GetFileExtension(path, false))))
        return FileDecision::ProtectedExtension;
    return std::nullopt;
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

bool FolderProcessor::Enter(const QString& inputFolder, const QString& outputFolder, bool sameFolder)
{
    using Outcome = platform::FolderLock::Outcome;
    auto locks = std::make_unique<FolderLocks>();
    const QString busy =
        locks->input.TryLock(ToFileSystemPath(inputFolder)) == Outcome::HeldByOther ? inputFolder
        : !sameFolder && locks->output.TryLock(ToFileSystemPath(outputFolder)) == Outcome::HeldByOther
            ? outputFolder
            : QString();
    if (busy.isEmpty()) {
        locks_.push_back(std::move(locks));
        return true;
    }
    const QString why = QStringLiteral("Another run is working in the folder ") + DisplayName(busy) +
                        QStringLiteral(". Nothing in it was changed; run again when that run has ended.");
    context_.prompter.Tell(why, QStringLiteral("Folder in use"), MessageIcon::Exclamation);
    try {
        FolderLeftOut(inputFolder, why);
    } catch (const LeaveFolder&) {
    }
    return false;
}

void FolderProcessor::Leave() { locks_.pop_back(); }

WalkOn FolderProcessor::Unreadable(const QString& folder, const QString& errorText)
{
    // A folder that cannot be read is named in the report; the rest of the run goes on, and the run
    // is no success.
    context_.prompter.Tell(errorText, QStringLiteral("Error"), MessageIcon::Exclamation);
    try {
        FolderLeftOut(folder, QStringLiteral("Error: ") + errorText);
    } catch (const LeaveFolder&) {
    }
    return WalkOn::SkipSubfolders;
}

WalkOn FolderProcessor::Visit(const FolderPlan& plan)
{
    try {
        if (!ProcessPlannedFiles(plan)) return WalkOn::SkipSubfolders;
        ReportLeftOutEntries(plan);
        if (context_.setup.includeSubfolders) ReportLinkedFolders(plan);
        return WalkOn::Subfolders;
    } catch (const LeaveFolder&) {
        return WalkOn::SkipSubfolders;
    }
}

bool FolderProcessor::GoOn()
{
    context_.sink.PausePoint();
    return !context_.sink.StopRequested();
}

bool FolderProcessor::ProcessPlannedFiles(const FolderPlan& plan)
{
    OperationContext& c = context_;
    RunState& state = c.state;
    const int fileCount = static_cast<int>(plan.inputNames.size());
    c.working.fileListCount = fileCount;
    if (fileCount == 0) return true;
    if (!c.sink.ReportSuppressed()) {
        Append(DirectionWord(c.setup.Encrypts(), QStringLiteral("Encrypting")) + QLatin1Char(' ') +
                   state.request.inputSpec + QStringLiteral(" in ") + DisplayName(plan.inputFolder) +
                   kLineBreak,
               true);
    }
    state.inputNames = plan.inputNames;
    state.outputNames = plan.outputNames;
    if (plan.outputNamesCollide) {
        state.result.duplicateOutputNames = true;
        return false;
    }
    const Folders folders{plan.inputFolder, plan.outputFolder,
                          platform::OpenFolder(ToFileSystemPath(plan.inputFolder)),
                          platform::OpenFolder(ToFileSystemPath(plan.outputFolder)), plan.sameFolder};
    for (int i = 0; i < fileCount; ++i) {
        ProcessFile(i, folders);
        if (i % kStopCheckFileInterval == 0 && c.sink.StopRequested()) {
            AppendLineBreak();
            return false;
        }
        c.sink.PausePoint();
        if (c.sink.StopRequested()) return false;
    }
    AppendLineBreak();
    if (!state.control.reliabilityTestRunning) {
        state.inputNames.clear();
        state.outputNames.clear();
    }
    return true;
}

void FolderProcessor::ReportLinkedFolders(const FolderPlan& plan)
{
    // A link could lead anywhere, outside the chosen tree too: it is named, not entered.
    for (const QString& link : plan.linkedFolders) {
        Append(DisplayName(plan.inputFolder + link) + QStringLiteral("  A link to a folder: not followed.") +
               kLineBreak);
    }
}

void FolderProcessor::ReportLeftOutEntries(const FolderPlan& plan)
{
    // The file specification asked for these, and the run cannot take them: each is named, and what an
    // encryption leaves of them stays plaintext.
    for (const LeftOutEntry& entry : plan.leftOut) {
        const QString why = entry.reason == LeftOutEntry::Reason::WildcardInName
                                ? QStringLiteral(
                                      "  A name with \"*\" or \"?\", which no file specification matches: "
                                      "left as it is.")
                                : QStringLiteral("  Not a regular file: left as it is.");
        Append(DisplayName(plan.inputFolder + entry.name) + why + kLineBreak);
        if (context_.setup.Encrypts()) ++context_.state.result.plaintextLeftOut;
    }
}

void FolderProcessor::FolderLeftOut(const QString& folder, const QString& why)
{
    ++context_.state.result.foldersNotProcessed;
    Append(DisplayName(folder) + kLineBreak);
    Append(why + kLineBreak + kLineBreak);
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

void FolderProcessor::OfferAbortAfterSkip(int index)
{
    OperationContext& c = context_;
    const bool lastFile = index == c.state.inputNames.size() - 1;
    if (lastFile) return;
    const MessageAnswer abort = c.prompter.Ask(Message{
        QStringLiteral("Abort this ") + DirectionWord(c.setup.Encrypts(), QStringLiteral("encryption")) +
            QStringLiteral(" operation?"),
        QStringLiteral("Abort?"), MessageButtons::YesNo, MessageIcon::None, 1});
    if (abort == MessageAnswer::Yes) {
        AppendLineBreak();
        c.sink.RequestStop();
        throw LeaveFolder{};
    }
}

void FolderProcessor::ProcessFile(int index, const Folders& folders)
{
    RunState& state = context_.state;
    FileResult file;
    file.encrypting = context_.setup.Encrypts();
    file.inputName = state.inputNames.at(index);
    file.outputName = state.outputNames.at(index);
    file.inputPath = folders.input + file.inputName;
    file.outputPath = folders.output + file.outputName;
    const std::string inputEntry = ToFileSystemPath(file.inputName).native();

    Append(FileLineStart(file.inputName));
    ++state.result.filesProcessed;

    // The file is read through this one descriptor: what is checked before its original is purged
    // is the very file that was read.
    platform::OpenedFile opened(folders.openInput.Descriptor(), inputEntry.c_str(),
                                ToFileSystemPath(file.inputPath));
    // A file that cannot be opened is still looked at, so that its line says what it is.
    const platform::FileIdentity input = opened.AtOpen().Seen() || opened.AtOpen().error == ENOENT
                                             ? opened.AtOpen()
                                             : folders.openInput.Identify(inputEntry.c_str());
    if (const std::optional<FileResult::Outcome> early = OutcomeBeforeEngine(input, file.encrypting))
        file.outcome = *early;
    else
        WorkOnFile(file, opened, input, folders);

    state.result.Record(file);
    batchProgress_.FileEnded(input.Seen() && input.regular ? input.size : 0);
    Append(FileOutcomeText(file));
    if (file.Is(FileDecision::SkippedNotEncrypted)) OfferAbortAfterSkip(index);
    AppendLineBreak();
}

void FolderProcessor::WorkOnFile(FileResult& file, platform::OpenedFile& opened,
                                 const platform::FileIdentity& input, const Folders& folders)
{
    OperationContext& c = context_;
    const std::uint64_t size = input.size;
    file.inputLength = size;
    Append(FileLengthText(size), true);
    if (!file.encrypting && size >= static_cast<std::uint64_t>(kMinFileSizeForRandomness) &&
        SkipUnencryptedLookingFile(opened.ReadPath())) {
        file.outcome = FileDecision::SkippedNotEncrypted;
        return;
    }
    const QString progress = FileProgressText(file.encrypting);
    Append(progress, true);
    const bool progressShown = !c.sink.ReportSuppressed();
    file.outcome = RunEngineStep(file, opened, input, folders);
    if (progressShown && !c.sink.ReportSuppressed())
        c.sink.RemoveReportTail(static_cast<int>(progress.size()));
    if (file.Is(FileDecision::Done) || file.PurgeFellShort())
        file.outputLength = engineCaller_.LastOutputLength();
    if (file.inPlace && file.MayLeavePartialPlaintext()) file.partialPlaintextPath = file.temporaryPath;
}

FileResult::Outcome FolderProcessor::RunEngineStep(FileResult& file, platform::OpenedFile& opened,
                                                   const platform::FileIdentity& input,
                                                   const Folders& folders)
{
    const std::string outputEntry = ToFileSystemPath(file.outputName).native();
    // In place means the same name in the same folder. Another name of the same file (a hard or
    // symbolic link) is an output like any other: replaced as a new file, nothing purged.
    file.inPlace = folders.same && ToFileSystemPath(file.inputName).native() == outputEntry;
    if (file.inPlace) return ProcessInPlace(file, opened);
    if (const std::optional<FileDecision> refusal =
            RefusalOfOutput(file, input, folders.openOutput.Identify(outputEntry.c_str())))
        return *refusal;
    file.outcome = RunIntoOutput(opened, file, input.size);
    if (IsReadFailure(file.outcome) && !opened.DataUnchanged()) return FileDecision::ChangedWhileRead;
    return file.outcome;
}

std::optional<FileDecision> FolderProcessor::RefusalOfOutput(const FileResult& file,
                                                             const platform::FileIdentity& input,
                                                             const platform::FileIdentity& output) const
{
    // Writing over the program or the current keyfile would lose it just the same.
    if (const std::optional<FileDecision> refusal = ProgramFileStatus(file.outputPath, output))
        return refusal;
    if (context_.setup.inPlace) return CheckInPlaceTarget(file.inputPath, input);
    return std::nullopt;
}

bool FolderProcessor::ResultReadsBackIntact(const fs::path& result)
{
    try {
        return context_.engine->Verify(*context_.key, result).Succeeded();
    } catch (const std::exception&) {
        return false;
    }
}

FileResult::Outcome FolderProcessor::RunIntoOutput(const platform::OpenedFile& input, FileResult& file,
                                                   std::uint64_t inputLength)
{
    const fs::path output = ToFileSystemPath(file.outputPath);
    std::error_code error;
    const bool outputFree = !fs::exists(fs::symlink_status(output, error));
    // The result is made beside the output name and takes that name only once the input is known
    // to be as it was read: a file that changed meanwhile leaves no output under its name. A
    // decryption that fails partway must not cost a file already under the output name either.
    const QString beside = ReserveNameBeside(file.outputPath);
    if (beside.isEmpty()) return FileDecision::NoTemporaryName;
    const FileResult::Outcome outcome =
        RunEngineOnFile(input.ReadPath(), ToFileSystemPath(beside), inputLength);
    file.outcome = outcome;
    if (!file.Is(FileDecision::Done)) {
        if (!file.MayLeavePartialPlaintext() || !IsNonEmptyFile(ToFileSystemPath(beside))) {
            fs::remove(ToFileSystemPath(beside), error);
            return outcome;
        }
        // Partial plaintext goes under the output name only where no file had that name.
        const bool named = outputFree && input.DataUnchanged() && MoveToFreeName(beside, file.outputPath);
        file.partialPlaintextPath = named ? file.outputName : beside;
        return outcome;
    }
    if (!input.DataUnchanged()) {
        fs::remove(ToFileSystemPath(beside), error);
        return FileDecision::ChangedWhileRead;
    }
    fs::rename(ToFileSystemPath(beside), output, error);
    if (error || !FlushToDevice(file.outputPath)) {
        file.temporaryPath = beside;
        return FileDecision::RenameFailed;
    }
    return outcome;
}

FileResult::Outcome FolderProcessor::ProcessInPlace(FileResult& file, platform::OpenedFile& input)
{
    const QString& path = file.inputPath;
    QString& temporaryPath = file.temporaryPath;
    const platform::FileIdentity& read = input.AtOpen();
    // Refused files are turned down before a temporary file is made for them; an output name that
    // maps back onto the input is in-place work too, and refused alike.
    if (const std::optional<FileDecision> refusal = CheckInPlaceTarget(path, read)) return *refusal;
    const QString temporary = ReserveTemporaryOutput(path, context_.floppies);
    if (temporary.isEmpty()) return FileDecision::NoTemporaryName;
    temporaryPath = temporary;
    const FileResult::Outcome outcome =
        RunEngineOnFile(input.ReadPath(), ToFileSystemPath(temporary), read.size);
    const bool changed = !input.Unchanged();
    if (std::holds_alternative<cipher::CipherResult>(outcome)) {
        DropEmptyTemporary(temporaryPath);
        return changed && IsReadFailure(outcome) ? FileDecision::ChangedWhileRead : outcome;
    }
    return ReplaceOriginal(file, input, changed);
}

FileResult::Outcome FolderProcessor::ReplaceOriginal(FileResult& file, platform::OpenedFile& input,
                                                     bool changed)
{
    OperationContext& c = context_;
    const QString& path = file.inputPath;
    QString& temporaryPath = file.temporaryPath;
    const QString temporary = temporaryPath;
    // The original goes only when its replacement is certainly on the device.
    if (!FlushToDevice(temporary)) {
        RemoveTemporary(temporaryPath);
        return cipher::CipherResult::WriteError;
    }
    // A result of what the file was is no replacement for what it has become.
    if (changed) return FileDecision::ChangedWhileRead;
    const bool encrypting = c.setup.Encrypts();
    // A device that lost or garbled the result must not cost the original too.
    if (encrypting && !ResultReadsBackIntact(ToFileSystemPath(temporary))) {
        RemoveTemporary(temporaryPath);
        return FileDecision::ResultNotIntact;
    }
    if (encrypting && IsAntivirusSensitiveType(path) && c.purgeAdvice != nullptr)
        c.purgeAdvice->ShowPurgeAdvice(path, true, c.state, c.sink, c.clock);
    const int level = encrypting ? filelib::kPurgeAfterEncryption : filelib::kPurgeAfterDecryption;
    // Opened for writing while the result was checked, or earlier within the tick that hid it.
    if (!input.ReleaseLease()) return FileDecision::ChangedWhileRead;
    const OriginalPurge purge = PurgeOriginal(path, level, input.AtOpen());
    if (purge.outcome == PurgeOutcome::Changed) return FileDecision::ChangedWhileRead;
    // A purge that left the original makes this fail: the result then stays under its temporary name.
    if (!MoveToFreeName(temporary, path))
        return platform::IsFloppyDrivePath(path, c.floppies) ? FileDecision::RenameFailedOnFloppy
                                                             : FileDecision::RenameFailed;
    // Only once it has the name: until then the result keeps the owner-only mode by which recover
    // tells the program's temporary files from the user's.
    TakeOriginalsAccess(path, input.AtOpen());
    return PurgeShortfall(purge, file);
}

}  // namespace kyv
