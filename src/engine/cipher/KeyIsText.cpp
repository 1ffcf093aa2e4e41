#include "engine/cipher/CipherEngine.h"

namespace kyv::cipher {

namespace {

// Printable Windows-1252, tab and line breaks. Code 127 and the five codes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are not text.
bool IsTextByte(unsigned char byte)
{
    if (byte == '\t' || byte == '\n' || byte == '\r') {
        return true;
    }
    if (byte < 0x20 || byte == 0x7F) {
        return false;
    }
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

}  // namespace

bool KeyIsText(const unsigned char* bytes, std::size_t count)
{
    if (bytes == nullptr) {
        return false;
    }
    // A keyfile shorter than the key is read into zero-filled bytes: zeros after the last
    // non-zero byte are that fill, not part of the text.
    std::size_t end = count;
    while (end > 0 && bytes[end - 1] == 0) {
        --end;
    }
    if (end == 0) {
        return false;
    }
    for (std::size_t i = 0; i < end; ++i) {
        if (!IsTextByte(bytes[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace kyv::cipher
