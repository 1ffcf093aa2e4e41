#include "core/launch/OperationDescription.h"

#include "core/common/DirectionWord.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"
#include "core/launch/Confirmer.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {

const QString kAllFiles = QStringLiteral("*.*");

QString OutputPart(const OperationSetup& setup, const RunState& state, bool single)
{
    if (setup.inPlace) {
        return single ? QStringLiteral("The output file will have the same name as the input file") +
                            QStringLiteral(" (so the input file will be overwritten)")
                      : QStringLiteral("The output files will have the same names as the input files") +
                            QStringLiteral(" (so the input files will be overwritten)");
    }
    const bool singleNoSub = single && !setup.includeSubfolders;
    QString text;
    if (state.request.outputSpec != kAllFiles) {
        text = (singleNoSub ? QStringLiteral("The output file is specified as ")
                            : QStringLiteral("The output files are specified as ")) +
               DisplayName(state.request.outputSpec);
    } else {
        text = singleNoSub ? QStringLiteral("The output file will have the same name")
                           : QStringLiteral("The output files will have the same names");
    }
    if (state.request.outputFolder != state.request.inputFolder)
        text += QStringLiteral(" in the folder ") + state.request.outputFolder.Display();
    else
        text += setup.includeSubfolders ? QStringLiteral(" in the same folders")
                                        : QStringLiteral(" in the same folder");
    return text;
}

}  // namespace

QString OperationDescription(const OperationSetup& setup, const RunState& state, int topLevelFiles)
{
    const bool single = topLevelFiles == 1;
    QString text = DirectionWord(setup.Encrypts(), QStringLiteral("Encrypting")) + QLatin1Char(' ');
    if (state.request.inputSpec == kAllFiles)
        text += QStringLiteral("all files in the folder ") + state.request.inputFolder.Display();
    else
        text += DisplayName(state.request.inputSpec) + QStringLiteral(" in the folder ") +
                state.request.inputFolder.Display();
    // A count that failed is left out rather than shown as a number.
    if (topLevelFiles >= 0)
        text += QStringLiteral(" (") + QString::number(topLevelFiles) + QLatin1Char(' ') +
                (single ? QStringLiteral("file") : QStringLiteral("files")) + QStringLiteral(") ");
    else
        text += QLatin1Char(' ');
    if (setup.includeSubfolders) text += QStringLiteral("and in all lower subfolders");
    text += QStringLiteral(".  ");
    return text + OutputPart(setup, state, single);
}

QString PerformOperationQuestion(bool encrypting)
{
    return QStringLiteral("Perform this ") + DirectionWord(encrypting, QStringLiteral("encryption")) +
           QStringLiteral(" operation?");
}

bool ConfirmOperation(const OperationSetup& setup, const RunState& state, Prompter& prompter,
                      Confirmer& confirmer)
{
    QString errorText;
    const int topLevelFiles =
        CountMatchingFiles(state.request.inputFolder, state.request.inputSpec, errorText);
    // The user is told, and still answers: the description then says what is known without the
    // count, never what an earlier question said.
    if (topLevelFiles < 0)
        prompter.Tell(QStringLiteral("Error when attempting to count files in ") +
                          state.request.inputFolder.Display() + QLatin1Char('.'),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
    return confirmer.Confirm(OperationConfirmation{OperationDescription(setup, state, topLevelFiles),
                                                   PerformOperationQuestion(setup.Encrypts())});
}

}  // namespace kyv
