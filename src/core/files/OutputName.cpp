#include "core/files/OutputName.h"

#include "core/files/NameText.h"
#include "core/files/OutputConfinement.h"

namespace kyv {

QString SubstituteWildcards(const QString& namePart, const QString& patternPart)
{
    // Built left to right: each wildcard sits at position made.size() of the name being made, so
    // characters taken from the name part are never read again as wildcards.
    QString made;
    for (const QChar p : patternPart) {
        if (p == u'*') return made + namePart.mid(made.size());
        if (p == u'?') {
            if (namePart.size() > made.size()) made += namePart[made.size()];
        } else {
            made += p;
        }
    }
    return made;
}

QString MapOutputName(const QString& inputName, const QString& outputSpec, OutputNameStatus& status)
{
    // A file name's own leading and trailing spaces are part of it: " a.txt" and "a.txt" are two
    // files, and their outputs must be two as well. Only the typed output file specification is
    // trimmed.
    const QString& input = inputName;
    const QString spec = TrimSpaces(outputSpec);
    if (input.isEmpty()) {
        status = kInputNameEmpty;
        return {};
    }
    if (spec.isEmpty()) {
        status = kOutputSpecEmpty;
        return {};
    }
    if (input.contains(u'?') || input.contains(u'*')) {
        status = kInputNameHasWildcard;
        return {};
    }

    const BaseAndExtension specParts = SplitBaseExtension(spec);
    const bool baseUsed = !specParts.hasDot || !specParts.base.isEmpty();
    const bool extensionUsed = specParts.hasDot && !specParts.extension.isEmpty();
    const BaseAndExtension inputParts = SplitBaseExtension(input);

    QString made;
    if (baseUsed) made = SubstituteWildcards(inputParts.base, specParts.base);
    if (specParts.hasDot) made += u'.';
    if (extensionUsed) made += SubstituteWildcards(inputParts.extension, specParts.extension);
    if (made.endsWith(u'.')) made.chop(1);

    if (made.isEmpty()) {
        status = kOutputNameEmpty;
        return {};
    }
    // "?" copies characters of the input name, dots too: ".x.y" under "?." makes ".".
    if (!OutputNameStaysInFolder(made)) {
        status = kOutputNameOutsideFolder;
        return {};
    }
    status = made == input ? kOutputNameEqualsInput : kOutputNameMade;
    return made;
}

}  // namespace kyv
