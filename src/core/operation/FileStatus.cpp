#include "core/operation/FileStatus.h"

#include "core/common/LineBreak.h"
#include "core/common/DirectionWord.h"
#include "core/operation/FileTypes.h"
#include "platform/Drives.h"

namespace kyv {

namespace {

const QString kContinuationIndent = QString(14, QLatin1Char(' '));

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// The drive letter of a Windows path; elsewhere the mount point that stands for the drive.
QString DriveName(const QString& path)
{
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) return path.left(1).toUpper();
    return platform::DriveOf(path);
}

// Negative statuses are the engine's results, by number.
cipher::CipherResult EngineResult(int status) { return static_cast<cipher::CipherResult>(status); }

QString EngineResultMessage(cipher::CipherResult result)
{
    using cipher::CipherResult;
    switch (result) {
        case CipherResult::InputNotFound:
            return QStringLiteral("Input file not found.");
        case CipherResult::InputCannotBeOpened:
            return QStringLiteral("Unable to open input file.");
        case CipherResult::OutputCannotBeOpened:
            return QStringLiteral("Unable to open output file.");
        case CipherResult::ReadError:
        case CipherResult::ReadErrorAfterOutput:
            return QStringLiteral("Read error.");
        case CipherResult::WriteError:
        case CipherResult::WriteErrorAfterOutput:
            return QStringLiteral("Write error.");
        case CipherResult::DiskFull:
            return QStringLiteral("Write error: disk full.");
        case CipherResult::KeyIncorrectOrHeaderCorrupt:
        case CipherResult::ChunkAuthenticationFailed:
            return QStringLiteral("Invalid block size.") + kLineBreak + kContinuationIndent +
                   QStringLiteral("Decryption key is incorrect or ciphertext is corrupt.");
        default:
            break;
    }
    if (cipher::IsExpansionError(result)) {
        const int errors = cipher::ExpansionErrorCount(result);
        const QString count =
            errors == 1 ? QStringLiteral("One block expansion error occurred.")
                        : QString::number(errors) + QStringLiteral(" block expansion errors occurred.");
        return count + kLineBreak + kContinuationIndent +
               QStringLiteral("Ciphertext is corrupt or decryption key is incorrect.");
    }
    return QStringLiteral("Unknown error #") + QString::number(cipher::ResultNumber(result)) +
           QLatin1Char('.');
}

}  // namespace

int StatusFromEngine(cipher::CipherResult result) { return cipher::ResultNumber(result); }

bool StatusCountsAsDone(int status)
{
    return status == kStatusDone || status == kStatusRenameFailed || status == kStatusRenameFailedOnFloppy;
}

bool StatusMayLeavePartialPlaintext(int status)
{
    return status < 0 && cipher::MayLeavePartialPlaintext(EngineResult(status));
}

QString StatusMessage(int status, const StatusWording& wording)
{
    const auto word = [&](const char* w) { return DirectionWord(wording.encrypting, QLatin1String(w)); };
    const QString resultIn = QStringLiteral("The result of the ") + word("encryption") +
                             QStringLiteral(" operation is in the file ") + wording.temporaryPath +
                             QLatin1Char('.');
    switch (status) {
        case kStatusOwnExecutable:
            return QStringLiteral("This is the Kyv executable.  ") + word("Encryption") +
                   QStringLiteral(" not performed.");
        case kStatusCurrentKeyfile:
            return QStringLiteral("This is the current keyfile.  ") + word("Encryption") +
                   QStringLiteral(" not performed.");
        case kStatusEmptyFile:
            return QStringLiteral("This file is empty (0 bytes).");
        case kStatusTooSmallToDecrypt:
            return QStringLiteral("This file is too small to have been Kyv-encrypted.");
        case kStatusNoTemporaryName:
            return QStringLiteral("Unable to get temporary output filename.");
        case kStatusRenameFailed:
            return QStringLiteral("Error when renaming temporary output file. ") + resultIn;
        case kStatusProtectedExtension:
            return QStringLiteral("Kyv does not ") + word("encrypt") +
                   QStringLiteral("-in-place files with extension ") +
                   Quoted(GetFileExtension(wording.path, true)) + QLatin1Char('.');
        case kStatusRenameFailedOnFloppy:
            return QStringLiteral("Error: probably insufficient space on the floppy disk in drive ") +
                   DriveName(wording.path) + QStringLiteral(".  ") + resultIn;
        default:
            break;
    }
    if (status < 0) return EngineResultMessage(EngineResult(status));
    return QStringLiteral("Unknown error #") + QString::number(status) + QLatin1Char('.');
}

}  // namespace kyv
