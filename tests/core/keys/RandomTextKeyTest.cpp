// The reliability test's generated keys: lengths, character codes and the recorded source.

#include <gtest/gtest.h>

#include <set>

#include "core/keys/KeyState.h"
#include "core/keys/RandomTextKey.h"

namespace kyv {
namespace {

TEST(RandomTextKeyTest, KeysAreOfEveryLengthFrom16To64AndAboutOneInTenCountsAsFromAKeyfile)
{
    KeyState key;
    key.checksum = 4321;
    key.isText = true;
    key.SetKeyfilePath("/keys/mine");
    constexpr int kKeys = 3000;
    std::set<std::size_t> lengths;
    int fromKeyfile = 0;
    bool codeAboveTypedSeen = false;
    for (int i = 0; i < kKeys; ++i) {
        GenerateRandomTextKey(key);
        ASSERT_GE(key.normalizedKey.size(), 16u);
        ASSERT_LE(key.normalizedKey.size(), 64u);
        ASSERT_TRUE(key.lastKeyText == key.normalizedKey);
        ASSERT_EQ(key.lastKeyText.size(), key.normalizedKey.size());
        lengths.insert(key.normalizedKey.size());
        ASSERT_TRUE(key.source == KeyboardEntry || key.source == Keyfile);
        const unsigned char highest = key.source == Keyfile ? 255 : 122;
        for (const unsigned char code : key.normalizedKey.View()) {
            ASSERT_GE(code, 32);
            ASSERT_LE(code, highest);
            if (code > 122) codeAboveTypedSeen = true;
        }
        if (key.source == Keyfile) ++fromKeyfile;
    }
    EXPECT_EQ(lengths.size(), 49u);
    // Expected 300; ten standard deviations are some 160.
    EXPECT_GT(fromKeyfile, 150);
    EXPECT_LT(fromKeyfile, 450);
    EXPECT_TRUE(codeAboveTypedSeen);
    EXPECT_EQ(key.checksum, 4321);
    EXPECT_TRUE(key.isText);
    EXPECT_EQ(key.KeyfilePath(), "/keys/mine");
}

}  // namespace
}  // namespace kyv
