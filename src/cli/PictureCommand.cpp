#include "cli/PictureCommand.h"

#include <QDir>
#include <filesystem>
#include <system_error>

#include "cli/ExitStatus.h"
#include "cli/Session.h"
#include "core/analysis/BytePairDrawing.h"
#include "core/files/FolderPath.h"
#include "image/BytePairImage.h"

namespace kyv::cli {

int RunPictureCommand(const CommandLine& line, Session& session)
{
    const QString path = QDir::current().absoluteFilePath(line.folder);
    const FilePath file(path);
    std::error_code error;
    const bool found = std::filesystem::is_regular_file(file, error);
    const std::uintmax_t size = found ? std::filesystem::file_size(file, error) : 0;
    if (!found || error) {
        session.prompter.Tell(
            QStringLiteral("File ") + DisplayName(line.folder) + QStringLiteral(" not found."),
            QStringLiteral("Randomness report"), MessageIcon::Exclamation);
        return kExitRefused;
    }
    BytePairPicture picture;
    // As the graphic window draws it: the size made even, read as it was when the command began.
    if (DrawBytePairs(file, static_cast<qint64>(size), picture) != DrawingOutcome::Complete) {
        session.prompter.Tell(QStringLiteral("Error reading file!"), QStringLiteral("Randomness report"),
                              MessageIcon::Exclamation);
        return kExitIncomplete;
    }
    if (!SaveBytePairImage(picture, *line.picture)) {
        session.prompter.Tell(
            QStringLiteral("Cannot save the picture as ") + line.picture->Display() + QLatin1Char('.'),
            QStringLiteral("Error"), MessageIcon::Exclamation);
        return kExitIncomplete;
    }
    return kExitDone;
}

}  // namespace kyv::cli
