#include <gtest/gtest.h>

#include "KeyTestHelpers.h"
#include "core/keys/KeyState.h"

namespace kyv {
namespace {

TEST(SecureBytes, EditsKeepTheRightBytes)
{
    SecureBytes bytes = test::Secure("abc");
    bytes.Insert(0, 'X');
    bytes.Insert(2, 'Y');
    bytes.Append('Z');
    EXPECT_EQ(test::AsText(bytes), "XaYbcZ");
    bytes.Erase(1, 2);
    EXPECT_EQ(test::AsText(bytes), "XbcZ");
    bytes.Erase(3, 10);
    EXPECT_EQ(test::AsText(bytes), "Xbc");
    bytes.Resize(5);
    EXPECT_EQ(test::AsText(bytes), std::string_view("Xbc\0\0", 5));
}

TEST(SecureBytes, GrowsPastItsFirstAllocationWithoutLosingBytes)
{
    SecureBytes bytes;
    std::string expected;
    for (int index = 0; index < 5000; ++index) {
        bytes.Append(static_cast<unsigned char>(index % 251));
        expected.push_back(static_cast<char>(index % 251));
    }
    EXPECT_EQ(test::AsText(bytes), expected);
}

TEST(SecureBytes, CopiesAreIndependentAndAssigningFromItselfIsSafe)
{
    SecureBytes original = test::Secure("secret");
    SecureBytes copy = original;
    copy[0] = 'S';
    EXPECT_EQ(test::AsText(original), "secret");
    original.Assign(original.View().subspan(2));
    EXPECT_EQ(test::AsText(original), "cret");
    SecureBytes moved = std::move(copy);
    EXPECT_EQ(test::AsText(moved), "Secret");
    EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from string is empty
}

TEST(EraseKeyData, OverwritesEveryKeyStringWithZeroBytesOfTheSameLength)
{
    KeyState keyState;
    keyState.normalizedKey = test::Secure("ABCDEFGHIJKLMNOPQ");
    keyState.digest = SecureBytes(16);
    keyState.digest[3] = 0x7A;
    keyState.rawKeyBytes = test::Secure("abcdefghijklmnopq");
    keyState.SetKeyfilePath(platform::FilePath(QStringLiteral("/home/user/keys/k\u00E9y.bin")));
    keyState.lastKeyText = test::Secure("a b c d e f g h i j k l m n o p q");

    EraseKeyData(keyState);

    for (const SecureBytes* field : {&keyState.normalizedKey, &keyState.digest, &keyState.rawKeyBytes,
                                     &keyState.keyfilePath, &keyState.lastKeyText}) {
        EXPECT_FALSE(field->empty());
        EXPECT_TRUE(std::all_of(field->data(), field->data() + field->size(),
                                [](unsigned char b) { return b == 0; }));
    }
    EXPECT_EQ(keyState.normalizedKey.size(), 17u);
    EXPECT_EQ(keyState.keyfilePath.size(), std::string_view("/home/user/keys/kéy.bin").size());
}

TEST(KeyState, StartsWith64ZeroBytesAndNoSource)
{
    const KeyState keyState;
    EXPECT_EQ(keyState.source, NotSpecified);
    EXPECT_EQ(keyState.normalizedKey, SecureBytes(64));
    EXPECT_EQ(keyState.minKeyLength, 16);
    EXPECT_EQ(keyState.maxKeyLength, 64);
}

}  // namespace
}  // namespace kyv
