#include "core/keys/KeyDescription.h"

#include "core/common/NumberText.h"

namespace kyv {

namespace {

QString SourcePhrase(const KeyState& keyState)
{
    if (keyState.source == KeyboardEntry) return QStringLiteral("keyboard entry");
    if (keyState.newRandomKey) return QStringLiteral("new random key in keyfile");
    if (keyState.apparentlyRandom) return QStringLiteral("apparently random key in keyfile");
    if (keyState.isText) return QStringLiteral("text key in keyfile");
    return QStringLiteral("non-random non-text key in keyfile");
}

}  // namespace

QString DescribeKey(KeyState& keyState, const WorkingValues& values, const QString& savedKeyLine,
                    Prompter& prompter)
{
    if (keyState.choiceAbandoned) return savedKeyLine;
    if (keyState.source == NotSpecified) return values.notSpecifiedText;
    if (keyState.normalizedKey.empty()) {
        prompter.Tell(QStringLiteral("Error processing key!"), QStringLiteral("Error"), MessageIcon::Error);
        keyState.source = NotSpecified;
        return values.notSpecifiedText;
    }
    return values.keyLinePrefix + QStringLiteral(" (") + SourcePhrase(keyState) +
           QStringLiteral(", checksum =") + NumberToText(keyState.checksum) + QStringLiteral(")");
}

}  // namespace kyv
