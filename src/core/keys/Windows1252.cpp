#include "core/keys/Windows1252.h"

#include <QChar>
#include <array>

namespace kyv {

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

std::array<unsigned char, 256> MakeUpperTable()
{
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        const auto original = static_cast<unsigned char>(byte);
        const char16_t upper = QChar(FromWindows1252(original)).toUpper().unicode();
        table[original] = ToWindows1252(upper).value_or(original);
    }
    return table;
}

}  // namespace

std::optional<unsigned char> ToWindows1252(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    for (std::size_t index = 0; index < kHighControlBlock.size(); ++index) {
        if (kHighControlBlock[index] == character) return static_cast<unsigned char>(0x80 + index);
    }
    return std::nullopt;
}

char16_t FromWindows1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0) return kHighControlBlock[byte - 0x80];
    return byte;
}

bool FitsWindows1252(QStringView text)
{
    for (const QChar character : text) {
        if (!ToWindows1252(character.unicode())) return false;
    }
    return true;
}

bool EncodeWindows1252(QStringView text, SecureBytes& bytes)
{
    bytes.Resize(static_cast<std::size_t>(text.size()));
    for (qsizetype index = 0; index < text.size(); ++index) {
        const std::optional<unsigned char> byte = ToWindows1252(text[index].unicode());
        if (!byte) {
            bytes.Clear();
            return false;
        }
        bytes[static_cast<std::size_t>(index)] = *byte;
    }
    return true;
}

QString DecodeWindows1252(std::span<const unsigned char> bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t index = 0; index < bytes.size(); ++index)
        text[static_cast<qsizetype>(index)] = QChar(FromWindows1252(bytes[index]));
    return text;
}

unsigned char UpperWindows1252(unsigned char byte)
{
    static const std::array<unsigned char, 256> kTable = MakeUpperTable();
    return kTable[byte];
}

}  // namespace kyv
