#pragma once
// Keys are Windows-1252 bytes on every platform, so that the same typed key gives the same key
// bytes and checksum everywhere. The code page agrees with Latin-1 except for 0x80 to 0x9F.

#include <QString>
#include <QStringView>
#include <optional>
#include <span>

#include "core/keys/SecureBytes.h"

namespace kyv {

// The Windows-1252 byte of a character, or nothing when the code page cannot hold it.
[[nodiscard]] std::optional<unsigned char> ToWindows1252(char16_t character);
// The character of a Windows-1252 byte. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as on Windows.
[[nodiscard]] char16_t FromWindows1252(unsigned char byte);

// Whether every character of `text` has a Windows-1252 byte.
[[nodiscard]] bool FitsWindows1252(QStringView text);
// The Windows-1252 bytes of `text`; false (and `bytes` emptied) when a character does not fit.
[[nodiscard]] bool EncodeWindows1252(QStringView text, SecureBytes& bytes);
// The text of Windows-1252 bytes.
[[nodiscard]] QString DecodeWindows1252(std::span<const unsigned char> bytes);

// The upper-case form of a Windows-1252 byte: the byte of the character's upper case when the
// code page holds it (a-z, à-þ, š, œ, ž, ÿ), the byte itself otherwise (ß, µ, digits, signs).
[[nodiscard]] unsigned char UpperWindows1252(unsigned char byte);

}  // namespace kyv
