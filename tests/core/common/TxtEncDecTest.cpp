#include <gtest/gtest.h>

#include "core/common/TxtEncDec.h"

namespace kyv {
namespace {

struct WordCase {
    const char* word;
    const char* encrypting;
    const char* decrypting;
};

TEST(TxtEncDec, EveryWordInBothDirections)
{
    const WordCase cases[] = {
        {"Encrypt", "Encrypt", "Decrypt"},          {"encrypt", "encrypt", "decrypt"},
        {"Encryption", "Encryption", "Decryption"}, {"encryption", "encryption", "decryption"},
        {"Encrypted", "Encrypted", "Decrypted"},    {"encrypted", "encrypted", "decrypted"},
        {"Encrypting", "Encrypting", "Decrypting"}, {"encrypting", "encrypting", "decrypting"},
        {"Decrypt", "", ""},                        {"ENCRYPT", "", ""},
        {"", "", ""},                               {"encrypts", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TxtEncDec(true, c.word), QString(c.encrypting)) << c.word;
        EXPECT_EQ(TxtEncDec(false, c.word), QString(c.decrypting)) << c.word;
    }
}

}  // namespace
}  // namespace kyv
