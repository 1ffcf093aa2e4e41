#pragma once
// The contents of the key inspection window: its three views of the key bytes, the checksum line
// and the randomness line.

#include <QString>
#include <array>
#include <span>

#include "core/keys/KeyState.h"

namespace kyv {

enum class KeyView { Decimal, Hexadecimal, Ascii };

inline constexpr int kKeyViewRows = 4;
inline constexpr std::size_t kKeyViewBytesPerRow = 16;
inline constexpr std::size_t kMeasuredKeyBytes = 64;

using KeyViewRows = std::array<QString, kKeyViewRows>;

// Sixteen bytes a row, each as its value right-aligned in three columns and a space; a zero
// byte of a text key is four spaces. Rows past the last byte stay empty.
[[nodiscard]] KeyViewRows DecimalKeyView(std::span<const unsigned char> bytes, bool textKey);
// As the decimal view with " 3F " per byte.
[[nodiscard]] KeyViewRows HexadecimalKeyView(std::span<const unsigned char> bytes, bool textKey);
// The bytes as characters; zero bytes are skipped and each line break (CR LF, CR or LF) starts the
// next row. Text past the fourth row is not shown.
[[nodiscard]] KeyViewRows AsciiKeyView(std::span<const unsigned char> bytes);
[[nodiscard]] KeyViewRows KeyViewOf(KeyView view, std::span<const unsigned char> bytes, bool textKey);

// How the window opens for the key bytes of the key record.
struct KeyInspectionLayout {
    bool randomnessVisible = false;
    QString randomnessLine;  // "Randomness is 0.912."
    bool asciiAvailable = false;
    KeyView initialView = KeyView::Decimal;
    QString checksumLine;  // "Checksum is 4711."
};

// Measures apparently random keys (the first 64 bytes) and computes the checksum the bytes would
// give as a key, without changing the key record.
[[nodiscard]] KeyInspectionLayout PrepareKeyInspection(const KeyState& keyState);

}  // namespace kyv
