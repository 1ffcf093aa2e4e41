#include "core/files/FileSpecMatch.h"

#include "core/files/NameText.h"

namespace kyv {

namespace {
constexpr QStringView kWildcards = u"*?";
#ifdef _WIN32
constexpr QStringView kNotInPlainNames = u"?*:\\";
#else
// Here ":" and "\\" are ordinary name characters; a file named "10:30 notes.txt" is a candidate
// like any other.
constexpr QStringView kNotInPlainNames = u"?*";
#endif

bool OnlyStars(const QString& text)
{
    for (const QChar c : text) {
        if (c != u'*') return false;
    }
    return true;
}

// The left-to-right walk; both parts non-empty and already case-folded.
bool WalkWithoutBacktracking(const QString& name, const QString& pattern)
{
    qsizetype n = 0;
    qsizetype k = 0;
    while (true) {
        if (k == pattern.size()) return n == name.size();
        const QChar p = pattern[k];
        if (p == u'?') {
            if (n == name.size()) return false;
            ++n;
            ++k;
        } else if (p == u'*') {
            QString rest = pattern.mid(k + 1);
            RemoveChars(rest, kWildcards);
            if (rest.isEmpty()) return true;
            const QChar next = rest[0];
            while (n < name.size() && name[n] != next) ++n;
            if (n == name.size()) return false;
            ++k;
        } else {
            if (n == name.size() || name[n] != p) return false;
            ++n;
            ++k;
        }
    }
}
}  // namespace

bool MatchNamePart(const QString& namePart, const QString& patternPart, bool caseSensitive)
{
    const QString name = caseSensitive ? namePart : LowerCaseText(namePart);
    const QString pattern = caseSensitive ? patternPart : LowerCaseText(patternPart);
    if (name == pattern) return true;
    if (pattern.isEmpty()) return true;
    if (name.isEmpty()) return OnlyStars(pattern);
    return WalkWithoutBacktracking(name, pattern);
}

bool IsPlainFileName(const QString& name)
{
    for (const QChar c : name) {
        if (kNotInPlainNames.contains(c)) return false;
    }
    return true;
}

bool MatchesFileSpec(const QString& name, const QString& fileSpec, bool caseSensitive)
{
    if (!IsPlainFileName(name)) return false;
    // "*.*" meets every plain name: the common case, answered without taking the name apart.
    if (fileSpec == u"*.*") return true;
    const QString spec = TrimSpaces(fileSpec);
    if (spec.isEmpty()) return true;

    const BaseAndExtension nameParts = SplitBaseExtension(name);
    const BaseAndExtension specParts = SplitBaseExtension(spec);
    QString nameBase = nameParts.base;
    QString nameExtension = nameParts.extension;
    QString specBase = specParts.base;
    QString specExtension = specParts.extension;

    if (specParts.hasDot && !nameParts.hasDot) {
        // A name without an extension only meets a specification whose extension is all stars.
        RemoveChars(specExtension, u"*");
        if (!specExtension.isEmpty()) return false;
    } else if (!specParts.hasDot && nameParts.hasDot) {
        return false;
    }

    const bool baseMatches = MatchNamePart(nameBase, specBase, caseSensitive);
    const bool extensionMatches = MatchNamePart(nameExtension, specExtension, caseSensitive);
    return baseMatches && extensionMatches;
}

}  // namespace kyv
