#include "cli/PictureCommand.h"

#include <QDir>
#include <QFileInfo>

#include "cli/ExitStatus.h"
#include "cli/Session.h"
#include "core/analysis/BytePairDrawing.h"
#include "gui/analysis/BytePairImage.h"

namespace kyv::cli {

int RunPictureCommand(const CommandLine& line, Session& session)
{
    const QFileInfo file(QDir::current().absoluteFilePath(line.folder));
    if (!file.isFile()) {
        session.prompter.Tell(QStringLiteral("File ") + line.folder + QStringLiteral(" not found."),
                              QStringLiteral("Randomness report"), MessageIcon::Exclamation);
        return kExitRefused;
    }
    BytePairPicture picture;
    // As the graphic window draws it: the size made even, read as it was when the command began.
    if (DrawBytePairs(file.absoluteFilePath(), file.size(), picture) != DrawingOutcome::Complete) {
        session.prompter.Tell(QStringLiteral("Error reading file!"), QStringLiteral("Randomness report"),
                              MessageIcon::Exclamation);
        return kExitIncomplete;
    }
    if (!gui::BytePairImage(picture).save(*line.picture, "PNG")) {
        session.prompter.Tell(
            QStringLiteral("Cannot save the picture as ") + *line.picture + QLatin1Char('.'),
            QStringLiteral("Error"), MessageIcon::Exclamation);
        return kExitIncomplete;
    }
    return kExitDone;
}

}  // namespace kyv::cli
