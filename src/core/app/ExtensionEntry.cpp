#include "core/app/ExtensionEntry.h"

#include "core/app/PathParts.h"
#include "core/files/NameText.h"

namespace kyv {

CleanedExtension CleanExtension(const QString& typed)
{
    CleanedExtension cleaned;
    cleaned.trimmed = TrimSpaces(typed);
    cleaned.extension = cleaned.trimmed;
    if (cleaned.extension.startsWith(QStringLiteral("*.")))
        cleaned.extension.remove(0, 2);
    else if (cleaned.extension.startsWith(QLatin1Char('.')))
        cleaned.extension.remove(0, 1);
    cleaned.refused = cleaned.extension.contains(QLatin1Char('.'));
    return cleaned;
}

QString ExtensionRefusalText() { return QStringLiteral("Extension must not contain \".\"."); }

QString OutputSpecWithExtension(const QString& inputSpec, const QString& extension)
{
    if (inputSpec.isEmpty() || ContainsWildcard(inputSpec)) return QStringLiteral("*.") + extension;
    const qsizetype dot = inputSpec.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return inputSpec + QLatin1Char('.') + extension;
    return inputSpec.left(dot + 1) + extension;
}

}  // namespace kyv
