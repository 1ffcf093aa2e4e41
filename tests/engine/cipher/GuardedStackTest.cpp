// Work on key material runs on a stack that core images leave out, and nothing of it stays there.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/cipher/GuardedStack.h"

namespace kyv::cipher {
namespace {

// The VmFlags of the mapping of this process that holds `address`.
std::string FlagsOfMappingHolding(const void* address)
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        unsigned long start = 0;
        unsigned long end = 0;
        char dash = 0;
        std::istringstream fields(line);
        if (fields >> std::hex >> start >> dash >> end && dash == '-') {
            inside = at >= start && at < end;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return std::string();
}

TEST(GuardedStack, WorkRunsOnAStackCoreImagesLeaveOutAndIsWipedAfter)
{
    const volatile unsigned char* left = nullptr;
    std::string flags;
    int result = 0;
    ASSERT_TRUE(RunOnGuardedStack(GuardedStackRoom::Hash, [&] {
        volatile unsigned char secret[64];
        for (unsigned char& byte : const_cast<unsigned char(&)[64]>(secret)) byte = 0x5a;
        left = secret;
        flags = FlagsOfMappingHolding(const_cast<unsigned char*>(secret));
        result = 42;
    }));
    EXPECT_EQ(result, 42);
    EXPECT_NE(flags.find(" dd"), std::string::npos) << "the stack is dumped: " << flags;
    ASSERT_NE(left, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(left[i], 0) << "byte " << i << " of the work's frame was kept";
    // The stack on which this test runs is an ordinary one.
    int here = 0;
    EXPECT_EQ(FlagsOfMappingHolding(&here).find(" dd"), std::string::npos);
}

TEST(GuardedStack, WorkDoesNotNestOnIt)
{
    bool inner = true;
    ASSERT_TRUE(RunOnGuardedStack(GuardedStackRoom::KeyDerivation,
                                  [&] { inner = RunOnGuardedStack(GuardedStackRoom::Hash, [] {}); }));
    EXPECT_FALSE(inner);
}

}  // namespace
}  // namespace kyv::cipher
