#include "core/files/FolderPath.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <string>

#include "core/files/NameText.h"

namespace kyv {

QString AddBackslash(const QString& path)
{
    if (path.isEmpty()) return path;
    const QChar separator = QDir::separator();
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == separator) --end;
    return path.left(end) + separator;
}

QString NormalizePathCase(const QString& path)
{
    if (path.size() < 2 || path[1] != u':') return path;
    return path[0].toUpper() + LowerCaseText(path.mid(1));
}

namespace {

// Lone surrogates that stand for the bytes 0x80 to 0xFF that were not UTF-8.
constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr char16_t kFirstEscapedByte = 0xDC80;
constexpr char16_t kLastEscapedByte = 0xDCFF;

bool IsEscapedByte(char16_t unit) { return unit >= kFirstEscapedByte && unit <= kLastEscapedByte; }

// The length of the valid UTF-8 sequence at `at` (shortest form, no surrogates, at most U+10FFFF)
// and its code point; 0 when the bytes there are not one.
int Utf8Sequence(const unsigned char* at, const unsigned char* end, char32_t& codePoint)
{
    const unsigned char lead = at[0];
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (end - at < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (at[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::filesystem::path ToFileSystemPath(const QString& path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        const bool atEnd = i == path.size();
        if (!atEnd && !IsEscapedByte(path.at(i).unicode())) continue;
        // A high surrogate before it makes it half of a pair, not an escaped byte.
        if (!atEnd && i > 0 && path.at(i - 1).isHighSurrogate()) continue;
        bytes += path.mid(start, i - start).toUtf8().toStdString();
        if (!atEnd) bytes += static_cast<char>(path.at(i).unicode() - kEscapedByteBase);
        start = i + 1;
    }
    return std::filesystem::path(bytes);
#endif
}

QString FromFileSystemName(const char* name)
{
    const auto* at = reinterpret_cast<const unsigned char*>(name);
    const unsigned char* end = at + std::strlen(name);
    QString text;
    text.reserve(end - at);
    while (at < end) {
        char32_t codePoint = 0;
        const int length = Utf8Sequence(at, end, codePoint);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(kEscapedByteBase + *at));
            ++at;
            continue;
        }
        text += QString::fromUcs4(&codePoint, 1);
        at += length;
    }
    return text;
}

QString DisplayName(const QString& name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name.at(i).unicode();
        if (IsEscapedByte(unit) && !(i > 0 && name.at(i - 1).isHighSurrogate()))
            shown += QStringLiteral("\\x") + QString::number(unit - kEscapedByteBase, 16).toUpper();
        else
            shown += name.at(i);
    }
    return shown;
}

QString QtDecodedName(const QString& name)
{
#ifdef _WIN32
    return name;
#else
    const std::string bytes = ToFileSystemPath(name).native();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
#endif
}

qsizetype FirstEscapedByte(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (IsEscapedByte(name.at(i).unicode()) && !(i > 0 && name.at(i - 1).isHighSurrogate())) return i;
    }
    return -1;
}

QString FromFileSystemPath(const std::filesystem::path& path) { return FromFileSystemName(path.c_str()); }

}  // namespace kyv
