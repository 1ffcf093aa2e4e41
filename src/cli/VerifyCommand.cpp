#include "cli/VerifyCommand.h"

#include <filesystem>

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/KeyAcquisition.h"
#include "cli/Session.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyState.h"
#include "core/launch/KeyLengthening.h"
#include "core/operation/FileResult.h"
#include "core/operation/ReportFormatter.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv::cli {

namespace {

struct Tally {
    int checked = 0;
    int authentic = 0;
    int foldersLeftOut = 0;
    bool stopped = false;
};

class Verifier {
public:
    Verifier(const CommandLine& line, Session& session, cipher::CipherEngine& engine, const SecureBytes& key)
        : line_(line), session_(session), engine_(engine), key_(key)
    {
    }

    void Folder(const QString& folder)
    {
        QString errorText;
        const std::optional<FolderListing> listing = ListFolder(folder, line_.spec, errorText);
        if (!listing) {
            ++tally.foldersLeftOut;
            Write(DisplayName(folder) + QStringLiteral("\nError: ") + errorText + QLatin1Char('\n'));
            return;
        }
        if (!listing->matchingFiles.isEmpty())
            Write(QStringLiteral("Verifying ") + line_.spec + QStringLiteral(" in ") + DisplayName(folder));
        for (const QString& name : listing->matchingFiles) {
            if ((tally.stopped = InterruptRequested())) return;
            File(folder, name);
        }
        if (!line_.subfolders) return;
        for (const QString& link : listing->linkedFolders)
            Write(DisplayName(folder + link) + QStringLiteral("  A link to a folder: not followed."));
        for (const QString& subfolder : listing->subfolders) {
            Folder(AddBackslash(folder + subfolder));
            if (tally.stopped) return;
        }
    }

    Tally tally;

private:
    void File(const QString& folder, const QString& name)
    {
        const std::filesystem::path path = ToFileSystemPath(folder + name);
        std::error_code error;
        const std::uint64_t size = std::filesystem::file_size(path, error);
        engine_.OperationInitialization(key_.data(), cipher::kKeyLength, false, error ? 0 : size);
        FileResult file;
        file.encrypting = false;
        file.inputName = name;
        file.inputLength = error ? std::nullopt : std::optional<std::uint64_t>(size);
        file.outcome = EngineOutcome(engine_.VerifyFile(path));
        ++tally.checked;
        QString text = FileLineStart(name) + (file.inputLength ? FileLengthText(size) : QString());
        if (file.Is(FileDecision::Done)) {
            ++tally.authentic;
            text += QStringLiteral("authentic");
        } else {
            text += FileOutcomeText(file);
        }
        Write(text);
    }

    void Write(const QString& text)
    {
        if (!session_.output.WriteReportLine(
                QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))))
            tally.stopped = true;
    }

    const CommandLine& line_;
    Session& session_;
    cipher::CipherEngine& engine_;
    const SecureBytes& key_;
};

}  // namespace

int RunVerifyCommand(const CommandLine& line, Session& session)
{
    if (line.spec.contains(QLatin1Char('/')))
        return UsageError(
            session.output,
            QStringLiteral("A file specification names files within the folder and holds no '/'."));
    KeyState key;
    switch (AcquireKey(line, key, session.output, session.prompter)) {
        case KeyAcquired::Yes:
            break;
        case KeyAcquired::No:
            EraseKeyData(key);
            return kExitRefused;
        case KeyAcquired::Interrupted:
            EraseKeyData(key);
            return kExitIncomplete;
    }
    const std::unique_ptr<cipher::CipherEngine> engine = cipher::MakeCipherEngine();
    if (!engine->AllocateBuffers()) {
        EraseKeyData(key);
        return kExitRefused;
    }
    Tally tally;
    {
        const SecureBytes engineKey = LengthenKey(key.normalizedKey);
        Verifier verifier(line, session, *engine, engineKey);
        verifier.Folder(AddBackslash(FolderArgument(line.folder)));
        tally = verifier.tally;
    }
    engine->DeallocateBuffers();
    EraseKeyData(key);
    const bool written =
        session.output.WriteReportLine(QStringLiteral("\nFiles checked: ") + QString::number(tally.checked) +
                                       QStringLiteral(", authentic: ") + QString::number(tally.authentic));
    const bool allAuthentic = tally.checked > 0 && tally.authentic == tally.checked;
    return written && allAuthentic && tally.foldersLeftOut == 0 && !tally.stopped ? kExitDone
                                                                                  : kExitIncomplete;
}

}  // namespace kyv::cli
