#include "engine/cipher/GuardedStack.h"

#include <sodium.h>
#include <ucontext.h>

#include <cstring>

#include "engine/cipher/SecretBuffer.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define KYV_SWITCHES_FIBERS 1
#endif

namespace kyv::cipher {

namespace {

struct Switch {
    void (*function)(void*) = nullptr;
    void* argument = nullptr;
    ucontext_t caller{};
    ucontext_t work{};
#ifdef KYV_SWITCHES_FIBERS
    const void* callerBottom = nullptr;
    std::size_t callerSize = 0;
#endif
};

thread_local Switch* current = nullptr;

void Enter()
{
    Switch* s = current;
#ifdef KYV_SWITCHES_FIBERS
    __sanitizer_finish_switch_fiber(nullptr, &s->callerBottom, &s->callerSize);
#endif
    s->function(s->argument);
#ifdef KYV_SWITCHES_FIBERS
    // This stack is left for good: no fake stack to keep.
    __sanitizer_start_switch_fiber(nullptr, s->callerBottom, s->callerSize);
#endif
    // Returning resumes the caller (uc_link).
}

#if defined(__x86_64__)
// Only called where the processor has AVX-512: the sixteen registers it adds.
__attribute__((target("avx512f"))) void ClearUpperVectorRegisters()
{
    __asm__ volatile(
        "vpxord %%zmm16, %%zmm16, %%zmm16\n\tvpxord %%zmm17, %%zmm17, %%zmm17\n\t"
        "vpxord %%zmm18, %%zmm18, %%zmm18\n\tvpxord %%zmm19, %%zmm19, %%zmm19\n\t"
        "vpxord %%zmm20, %%zmm20, %%zmm20\n\tvpxord %%zmm21, %%zmm21, %%zmm21\n\t"
        "vpxord %%zmm22, %%zmm22, %%zmm22\n\tvpxord %%zmm23, %%zmm23, %%zmm23\n\t"
        "vpxord %%zmm24, %%zmm24, %%zmm24\n\tvpxord %%zmm25, %%zmm25, %%zmm25\n\t"
        "vpxord %%zmm26, %%zmm26, %%zmm26\n\tvpxord %%zmm27, %%zmm27, %%zmm27\n\t"
        "vpxord %%zmm28, %%zmm28, %%zmm28\n\tvpxord %%zmm29, %%zmm29, %%zmm29\n\t"
        "vpxord %%zmm30, %%zmm30, %%zmm30\n\tvpxord %%zmm31, %%zmm31, %%zmm31" ::
            : "xmm16", "xmm17", "xmm18", "xmm19", "xmm20", "xmm21", "xmm22", "xmm23", "xmm24", "xmm25",
              "xmm26", "xmm27", "xmm28", "xmm29", "xmm30", "xmm31");
}
#endif

}  // namespace

// All of them, the upper sixteen of AVX-512 too.
void ClearVectorRegisters()
{
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx512f")) ClearUpperVectorRegisters();
    if (__builtin_cpu_supports("avx")) {
        // Zeroes the whole of the first sixteen, upper halves included.
        __asm__ volatile("vzeroall" ::
                             : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9",
                               "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
    } else {
        __asm__ volatile(
            "pxor %%xmm0, %%xmm0\n\tpxor %%xmm1, %%xmm1\n\tpxor %%xmm2, %%xmm2\n\tpxor %%xmm3, %%xmm3\n\t"
            "pxor %%xmm4, %%xmm4\n\tpxor %%xmm5, %%xmm5\n\tpxor %%xmm6, %%xmm6\n\tpxor %%xmm7, %%xmm7\n\t"
            "pxor %%xmm8, %%xmm8\n\tpxor %%xmm9, %%xmm9\n\tpxor %%xmm10, %%xmm10\n\tpxor %%xmm11, %%xmm11\n\t"
            "pxor %%xmm12, %%xmm12\n\tpxor %%xmm13, %%xmm13\n\tpxor %%xmm14, %%xmm14\n\tpxor %%xmm15, "
            "%%xmm15" ::
                : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10",
                  "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
    }
#endif
}

bool detail::RunOnGuardedStack(GuardedStackRoom room, void (*function)(void*), void* argument)
{
    // The key bytes copied before the call must not follow it into the frames set up below.
    ClearVectorRegisters();
    if (current != nullptr) return false;
    // One of each per thread, kept for the thread's life.
    thread_local SecretBuffer derivationStack(static_cast<std::size_t>(GuardedStackRoom::KeyDerivation));
    thread_local SecretBuffer hashStack(static_cast<std::size_t>(GuardedStackRoom::Hash));
    SecretBuffer& stack = room == GuardedStackRoom::KeyDerivation ? derivationStack : hashStack;
    if (!stack.Valid()) return false;
    Switch s;
    s.function = function;
    s.argument = argument;
    if (::getcontext(&s.work) != 0) return false;
    s.work.uc_stack.ss_sp = stack.Data();
    s.work.uc_stack.ss_size = stack.Size();
    s.work.uc_link = &s.caller;
    ::makecontext(&s.work, Enter, 0);
    current = &s;
#ifdef KYV_SWITCHES_FIBERS
    void* fakeStack = nullptr;
    __sanitizer_start_switch_fiber(&fakeStack, stack.Data(), stack.Size());
#endif
    const bool switched = ::swapcontext(&s.caller, &s.work) == 0;
#ifdef KYV_SWITCHES_FIBERS
    __sanitizer_finish_switch_fiber(fakeStack, nullptr, nullptr);
#endif
    current = nullptr;
    sodium_memzero(stack.Data(), stack.Size());
    sodium_memzero(&s.work, sizeof s.work);
    ClearVectorRegisters();
    return switched;
}

}  // namespace kyv::cipher
