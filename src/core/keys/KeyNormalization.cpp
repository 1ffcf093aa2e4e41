#include "core/keys/KeyNormalization.h"

#include <algorithm>

#include "core/keys/Windows1252.h"

namespace kyv {

namespace {
bool Kept(unsigned char byte) { return byte > 32; }
}  // namespace

SecureBytes NormalizedKeyText(std::span<const unsigned char> text)
{
    SecureBytes key(NormalizedLength(text));
    std::size_t next = 0;
    for (const unsigned char byte : text) {
        if (Kept(byte)) key[next++] = UpperWindows1252(byte);
    }
    return key;
}

SecureBytes NormalizeKey(KeyState& keyState, std::span<const unsigned char> text)
{
    SecureBytes key = NormalizedKeyText(text);
    keyState.lastKeyText.Assign(text);
    return key;
}

std::size_t NormalizedLength(std::span<const unsigned char> text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), Kept));
}

bool KeyLengthSufficient(const KeyState& keyState, std::span<const unsigned char> text)
{
    return NormalizedLength(text) >= static_cast<std::size_t>(keyState.minKeyLength);
}

}  // namespace kyv
