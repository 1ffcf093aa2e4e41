#include <gtest/gtest.h>

#include "core/common/DirectionWord.h"

namespace kyv {
namespace {

struct WordCase {
    const char* word;
    const char* encrypting;
    const char* decrypting;
};

TEST(DirectionWord, EveryWordInBothDirections)
{
    const WordCase cases[] = {
        {"Encrypt", "Encrypt", "Decrypt"},
        {"encrypt", "encrypt", "decrypt"},
        {"Encryption", "Encryption", "Decryption"},
        {"encryption", "encryption", "decryption"},
        {"Encrypted", "Encrypted", "Decrypted"},
        {"encrypted", "encrypted", "decrypted"},
        {"Encrypting", "Encrypting", "Decrypting"},
        {"encrypting", "encrypting", "decrypting"},
        {"Decrypt", "", ""},
        {"ENCRYPT", "", ""},
        {"", "", ""},
        {"encrypts", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectionWord(true, c.word), QString(c.encrypting)) << c.word;
        EXPECT_EQ(DirectionWord(false, c.word), QString(c.decrypting)) << c.word;
    }
}

}  // namespace
}  // namespace kyv
