#include "core/files/NameText.h"

#include "core/files/FolderPath.h"

namespace kyv {

namespace {
// Letters whose presence switches to the table below.
constexpr QStringView kAccentedLetters =
    u"\u0160\u0178\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C7\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD\u00CE"
    u"\u00CF\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD"
    u"\u0161\u00FF\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E7\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED\u00EE"
    u"\u00EF\u00F1\u00F2\u00F3\u00F4\u00F5\u00F6\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD";

// ABCDEFGHIJKLMNOPQRSTUVWXYZŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ
constexpr QStringView kCapitals =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZ\u0160\u0152\u0178"
    u"\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6\u00C7\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD\u00CE\u00CF"
    u"\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD\u00DE";
// abcdefghijklmnopqrstuvwxyzšœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ (same positions as the capitals)
constexpr QStringView kSmallLetters =
    u"abcdefghijklmnopqrstuvwxyz\u0161\u0153\u00FF"
    u"\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6\u00E7\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED\u00EE\u00EF"
    u"\u00F0\u00F1\u00F2\u00F3\u00F4\u00F5\u00F6\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD\u00FE";
static_assert(kCapitals.size() == 59 && kSmallLetters.size() == 59);

bool ContainsAccentedLetter(QStringView text)
{
    for (const QChar c : text) {
        // Every accented letter of the set lies above U+00BF; plain ASCII names skip the search.
        if (c.unicode() >= 0xC0 && kAccentedLetters.contains(c)) return true;
    }
    return false;
}
}  // namespace

QString LowerCaseText(const QString& text)
{
    if (!ContainsAccentedLetter(text)) {
        // Qt's lower-casing turns a lone surrogate into U+FFFD, so the bytes that were not UTF-8
        // (see FolderPath.h) are kept out of it.
        const qsizetype escaped = FirstEscapedByte(text);
        if (escaped < 0) return text.toLower();
        return text.left(escaped).toLower() + text.at(escaped) + LowerCaseText(text.mid(escaped + 1));
    }
    QString lowered = text;
    for (QChar& c : lowered) {
        const qsizetype at = kCapitals.indexOf(c);
        if (at >= 0) c = kSmallLetters[at];
    }
    return lowered;
}

void RemoveChars(QString& text, QStringView characters)
{
    text.removeIf([characters](QChar c) { return characters.contains(c); });
}

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == u' ') ++first;
    while (end > first && text[end - 1] == u' ') --end;
    return text.mid(first, end - first);
}

BaseAndExtension SplitBaseExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) return {name, QString(), false};
    return {name.left(dot), name.mid(dot + 1), true};
}

}  // namespace kyv
