#pragma once
// A stack in guarded memory for work on key material. A hash function keeps copies of what it
// hashes in its stack frames (its state, the block it compresses) and leaves them there when it
// returns, below the caller's stack pointer, where a core image of the process would show them.
// Run on this stack, those copies lie in locked pages that core dumps leave out, and they are wiped
// as soon as the work is done.

#include <cstddef>
#include <type_traits>

namespace kyv::cipher {

// Room for the work and a signal handler on top of it: Argon2's deepest calls, or one keyed hash.
// The smaller the stack, the less there is to wipe after each call.
enum class GuardedStackRoom : std::size_t {
    KeyDerivation = std::size_t{64} * 1024,
    Hash = std::size_t{16} * 1024,
};

// Runs `work` on the calling thread's guarded stack of that room (made on first use), then wipes
// the stack and the vector registers the work may have left key bytes in. False, without running
// the work, when no guarded memory could be had or the call is made from work on such a stack.
template <typename Work>
[[nodiscard]] bool RunOnGuardedStack(GuardedStackRoom room, Work&& work);

// Zeroes the vector registers. A copy of key bytes (memcpy moves them through these registers)
// leaves them there, and the next symbol the dynamic linker resolves saves every register on the
// stack, in ordinary memory: call this after such a copy.
void ClearVectorRegisters();

namespace detail {
[[nodiscard]] bool RunOnGuardedStack(GuardedStackRoom room, void (*function)(void*), void* argument);
}  // namespace detail

template <typename Work>
bool RunOnGuardedStack(GuardedStackRoom room, Work&& work)
{
    auto call = [](void* argument) { (*static_cast<std::remove_reference_t<Work>*>(argument))(); };
    return detail::RunOnGuardedStack(room, call, static_cast<void*>(&work));
}

}  // namespace kyv::cipher
