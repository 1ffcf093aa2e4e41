#pragma once
// Small helpers shared by the key tests.

#include <QString>
#include <span>
#include <stdexcept>
#include <string_view>

#include "core/keys/SecureBytes.h"
#include "core/keys/Windows1252.h"

namespace kyv::test {

inline std::span<const unsigned char> Bytes(std::string_view text)
{
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

inline SecureBytes Secure(std::string_view text) { return SecureBytes(Bytes(text)); }

inline std::string_view AsText(const SecureBytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The Windows-1252 bytes of typed text (the test fails loudly on text the code page cannot hold).
inline SecureBytes Typed(const QString& text)
{
    SecureBytes bytes;
    if (!EncodeWindows1252(text, bytes)) throw std::invalid_argument("not Windows-1252");
    return bytes;
}

}  // namespace kyv::test
