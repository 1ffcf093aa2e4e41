#include "core/recovery/FileVerifier.h"

#include "core/common/NumberText.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/files/FolderWalkGuard.h"
#include "core/recovery/FileAuthenticator.h"

namespace kyv {

namespace {

class Verifier {
public:
    Verifier(const VerifyRequest& request, FileAuthenticator& authenticator,
             const std::function<void(const VerifiedFile&)>& onFile,
             const std::function<bool()>& stopRequested)
        : request_(request), authenticator_(authenticator), onFile_(onFile), stopRequested_(stopRequested)
    {
    }

    VerifyRun Run()
    {
        Folder(request_.folder.AsFolder());
        return run_;
    }

private:
    void Folder(const FilePath& folder)
    {
        if (run_.stopped || !guard_.FirstVisit(folder)) return;
        QString errorText;
        const std::optional<FolderListing> listing = ListFolder(folder, request_.spec, errorText);
        if (!listing) {
            run_.unreadFolders << folder.Text() + QStringLiteral(": ") + errorText;
            return;
        }
        for (const QString& name : listing->matchingFiles) {
            if (stopRequested_()) {
                run_.stopped = true;
                return;
            }
            VerifiedFile file;
            file.path = folder / name;
            const FilePath& path = file.path;
            std::error_code error;
            file.size = std::filesystem::file_size(path, error);
            const FileAuthenticator::Outcome outcome = authenticator_.Authenticate(path);
            file.result = outcome.result;
            file.plaintextLength = outcome.plaintextLength;
            ++(file.Authentic() ? run_.authentic : run_.failed);
            onFile_(file);
        }
        if (!request_.subfolders) return;
        for (const QString& subfolder : listing->subfolders) Folder((folder / subfolder).AsFolder());
    }

    const VerifyRequest& request_;
    FileAuthenticator& authenticator_;
    const std::function<void(const VerifiedFile&)>& onFile_;
    const std::function<bool()>& stopRequested_;
    FolderWalkGuard guard_;
    VerifyRun run_;
};

QString FailureReason(cipher::CipherResult result)
{
    using cipher::CipherResult;
    switch (result) {
        case CipherResult::InputNotFound:
            return QStringLiteral("it is gone.");
        case CipherResult::InputCannotBeOpened:
            return QStringLiteral("it cannot be opened.");
        case CipherResult::EndsInsideHeader:
            return QStringLiteral("too short to be an encrypted file.");
        case CipherResult::KeyIncorrectOrHeaderCorrupt:
            return QStringLiteral(
                "the key does not open it: another key, a damaged header, or not an "
                "encrypted file.");
        case CipherResult::Truncated:
            return QStringLiteral("cut short: its end is missing.");
        case CipherResult::BytesAppended:
            return QStringLiteral("bytes were added after its end.");
        case CipherResult::ChunkAuthenticationFailed:
            return QStringLiteral("damaged or altered: a part of it does not authenticate.");
        case CipherResult::ReadError:
        case CipherResult::ReadErrorAfterOutput:
            return QStringLiteral("it cannot be read to its end.");
        default:
            return QStringLiteral("it could not be checked (error ") +
                   QString::number(cipher::ResultNumber(result)) + QStringLiteral(").");
    }
}

}  // namespace

VerifyRun VerifyFiles(const VerifyRequest& request, FileAuthenticator& authenticator,
                      const std::function<void(const VerifiedFile&)>& onFile,
                      const std::function<bool()>& stopRequested)
{
    return Verifier(request, authenticator, onFile, stopRequested).Run();
}

QString VerifiedFileLine(const VerifiedFile& file)
{
    if (file.Authentic())
        return file.path.Display() + QStringLiteral(": authentic, ") +
               GroupedNumber(static_cast<std::int64_t>(file.plaintextLength)) +
               QStringLiteral(" bytes of plaintext.");
    return file.path.Display() + QStringLiteral(": FAILED, ") + FailureReason(file.result);
}

QString VerifySummary(const VerifyRun& run)
{
    QString summary = QString::number(run.authentic) + QStringLiteral(" authentic, ") +
                      QString::number(run.failed) + QStringLiteral(" failed.");
    for (const QString& folder : run.unreadFolders)
        summary += QStringLiteral("\nNot read: ") + DisplayName(folder);
    if (run.stopped) summary += QStringLiteral("\nStopped before every file was checked.");
    if (run.authentic + run.failed == 0 && !run.stopped)
        summary += QStringLiteral("\nNo file matched the file specification.");
    return summary;
}

}  // namespace kyv
