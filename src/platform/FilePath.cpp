#include "platform/FilePath.h"

namespace kyv::platform {

namespace {

// Lone surrogates that stand for the bytes 0x80 to 0xFF that were not UTF-8.
constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr char16_t kFirstEscapedByte = 0xDC80;
constexpr char16_t kLastEscapedByte = 0xDCFF;
constexpr char kSeparator = '/';

bool IsEscapedByte(const QString& text, qsizetype i)
{
    const char16_t unit = text.at(i).unicode();
    // A high surrogate before it makes it half of a pair, not an escaped byte.
    return unit >= kFirstEscapedByte && unit <= kLastEscapedByte &&
           !(i > 0 && text.at(i - 1).isHighSurrogate());
}

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

std::string BytesOf(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool atEnd = i == text.size();
        if (!atEnd && !IsEscapedByte(text, i)) continue;
        bytes += text.mid(start, i - start).toUtf8().toStdString();
        if (!atEnd) bytes += static_cast<char>(text.at(i).unicode() - kEscapedByteBase);
        start = i + 1;
    }
    return bytes;
}

// Where the last name of the path starts and ends, trailing separators left out.
std::pair<std::size_t, std::size_t> LastName(const std::string& bytes)
{
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == kSeparator) --end;
    const std::size_t separator = end == 0 ? std::string::npos : bytes.rfind(kSeparator, end - 1);
    return {separator == std::string::npos ? 0 : separator + 1, end};
}

}  // namespace

FilePath::FilePath(const QString& text)
#ifdef _WIN32
    : bytes_(text.toStdWString())
#else
    : bytes_(BytesOf(text))
#endif
{
}

QString FilePath::TextOf(std::string_view bytes)
{
    const auto* at = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = at + bytes.size();
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

QString FilePath::Display() const { return DisplayName(Text()); }

FilePath FilePath::operator/(const FilePath& name) const
{
    if (IsEmpty() || Bytes().back() == kSeparator)
        return FilePath(std::filesystem::path(Bytes() + name.Bytes()));
    return FilePath(std::filesystem::path(Bytes() + kSeparator + name.Bytes()));
}

FilePath FilePath::AsFolder() const
{
    if (IsEmpty()) return *this;
    const std::string& bytes = Bytes();
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == kSeparator) --end;
    return FilePath(std::filesystem::path(bytes.substr(0, end) + kSeparator));
}

FilePath FilePath::Parent() const
{
    const std::string& bytes = Bytes();
    const auto [start, end] = LastName(bytes);
    if (start == end) return *this;
    std::size_t folderEnd = start;
    while (folderEnd > 1 && bytes[folderEnd - 2] == kSeparator) --folderEnd;
    return FilePath(std::filesystem::path(bytes.substr(0, folderEnd)));
}

FilePath FilePath::Name() const
{
    const auto [start, end] = LastName(Bytes());
    return FilePath(std::filesystem::path(Bytes().substr(start, end - start)));
}

FilePath FilePath::WithSuffix(const QString& suffix) const
{
    return FilePath(std::filesystem::path(Bytes() + FilePath(suffix).Bytes()));
}

QString DisplayName(const QString& text)
{
    // Most names are text already: they are shown as they are, without a copy.
    const qsizetype first = FirstEscapedByte(text);
    if (first < 0) return text;
    QString shown = text.left(first);
    shown.reserve(text.size() + 3);
    for (qsizetype i = first; i < text.size(); ++i) {
        if (IsEscapedByte(text, i))
            shown += QStringLiteral("\\x") +
                     QString::number(text.at(i).unicode() - kEscapedByteBase, 16).toUpper();
        else
            shown += text.at(i);
    }
    return shown;
}

qsizetype FirstEscapedByte(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsEscapedByte(text, i)) return i;
    }
    return -1;
}

}  // namespace kyv::platform
