#include "core/keys/KeyInspection.h"

#include <algorithm>

#include "core/common/NumberText.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/Windows1252.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kLineFeed = 10;

template <typename FormatByte>
KeyViewRows ByteRows(std::span<const unsigned char> bytes, bool textKey, FormatByte formatByte)
{
    KeyViewRows rows;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        const std::size_t row = index / kKeyViewBytesPerRow;
        if (row >= rows.size()) break;
        if (bytes[index] == 0 && textKey)
            rows[row] += QStringLiteral("    ");
        else
            rows[row] += formatByte(bytes[index]);
    }
    return rows;
}

}  // namespace

KeyViewRows DecimalKeyView(std::span<const unsigned char> bytes, bool textKey)
{
    return ByteRows(bytes, textKey, [](unsigned char byte) {
        return QStringLiteral("%1 ").arg(static_cast<int>(byte), 3, 10, QLatin1Char(' '));
    });
}

KeyViewRows HexadecimalKeyView(std::span<const unsigned char> bytes, bool textKey)
{
    return ByteRows(bytes, textKey, [](unsigned char byte) {
        QString text(4, QLatin1Char(' '));
        text[1] = QLatin1Char(kHexDigits[byte >> 4]);
        text[2] = QLatin1Char(kHexDigits[byte & 0x0F]);
        return text;
    });
}

KeyViewRows AsciiKeyView(std::span<const unsigned char> bytes)
{
    KeyViewRows rows;
    std::size_t row = 0;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        const unsigned char byte = bytes[index];
        if (byte == 0) continue;
        if (byte == kCarriageReturn || byte == kLineFeed) {
            // CR LF is one line break; only the LF of a pair is skipped, never another byte.
            if (byte == kCarriageReturn && index + 1 < bytes.size() && bytes[index + 1] == kLineFeed) ++index;
            ++row;
            continue;
        }
        if (row < rows.size()) rows[row] += QChar(FromWindows1252(byte));
    }
    return rows;
}

KeyViewRows KeyViewOf(KeyView view, std::span<const unsigned char> bytes, bool textKey)
{
    switch (view) {
        case KeyView::Hexadecimal:
            return HexadecimalKeyView(bytes, textKey);
        case KeyView::Ascii:
            return AsciiKeyView(bytes);
        case KeyView::Decimal:
            break;
    }
    return DecimalKeyView(bytes, textKey);
}

KeyInspectionLayout PrepareKeyInspection(const KeyState& keyState)
{
    KeyInspectionLayout layout;
    const std::span<const unsigned char> bytes = keyState.rawKeyBytes.View();
    if (keyState.apparentlyRandom) {
        // Keyfile and random keys have 64 bytes; a shorter buffer is measured over what it has.
        const std::size_t count = std::min(bytes.size(), kMeasuredKeyBytes);
        const double randomness = filelib::RandomnessMeasure(bytes.data(), count, kMeasuredKeyBytes);
        // Too few bytes give an error value, not a randomness to show.
        layout.randomnessVisible = !filelib::IsRandomnessError(randomness);
        if (layout.randomnessVisible)
            layout.randomnessLine =
                QStringLiteral("Randomness is ") + GroupedNumber(randomness, 3) + QStringLiteral(".");
        layout.asciiAvailable = false;
        layout.initialView = KeyView::Decimal;
    } else {
        layout.asciiAvailable = keyState.isText;
        layout.initialView = keyState.isText ? KeyView::Ascii : KeyView::Decimal;
    }
    layout.checksumLine =
        QStringLiteral("Checksum is") + NumberToText(RunningChecksum(bytes)) + QStringLiteral(".");
    return layout;
}

}  // namespace kyv
