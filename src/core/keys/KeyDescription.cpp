#include "core/keys/KeyDescription.h"

#include "core/common/NumberText.h"

namespace kyv {

namespace {

QString SourcePhrase(const KeyState& keyState)
{
    if (keyState.intKeySource == KeyboardEntry) return QStringLiteral("keyboard entry");
    if (keyState.blnNewRandomKey) return QStringLiteral("new random key in keyfile");
    if (keyState.blnApparentlyRandomKey) return QStringLiteral("apparently random key in keyfile");
    if (keyState.blnTextKey) return QStringLiteral("text key in keyfile");
    return QStringLiteral("non-random non-text key in keyfile");
}

}  // namespace

QString DescribeKey(KeyState& keyState, const WorkingValues& values, const QString& savedKeyLine,
                    Prompter& prompter)
{
    if (keyState.blnKeyChoiceAbandoned) return savedKeyLine;
    if (keyState.intKeySource == NotSpecified) return values.strNotSpecified;
    if (keyState.strKey.empty()) {
        prompter.Tell(QStringLiteral("Error processing key!"), QStringLiteral("Error"), MessageIcon::Error);
        keyState.intKeySource = NotSpecified;
        return values.strNotSpecified;
    }
    return values.strKeyLinePrefix + QStringLiteral(" (") + SourcePhrase(keyState) +
           QStringLiteral(", checksum =") + NumberToText(keyState.intKeyChecksum) + QStringLiteral(")");
}

}  // namespace kyv
