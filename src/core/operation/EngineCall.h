#pragma once
// One call of the cipher engine, run on a worker thread while the calling (window) thread keeps
// handling events, so that a long file or a key derivation never freezes the program. Small files
// whose key is already derived run on the calling thread: they take milliseconds at worst.

#include <cstdint>
#include <filesystem>

namespace kyv {

class ReportSink;

namespace cipher {
class CipherEngine;
}

// Files above this size show their progress in the report window.
inline constexpr std::uint64_t kProgressShownAbove = 64ull * 1024 * 1024;

// Files up to this size may run on the calling thread.
inline constexpr std::uint64_t kRunHereUpTo = 256 * 1024;

// Runs EncryptFile or DecryptFile and returns the engine's result. Pending events are processed
// while it runs on a worker thread; for a large file the sink is told the bytes done so far.
// Exceptions of the engine are passed on to the caller.
[[nodiscard]] int RunEngineCall(cipher::CipherEngine& engine, bool encrypt,
                                const std::filesystem::path& input, const std::filesystem::path& output,
                                std::uint64_t inputLength, ReportSink& sink);

}  // namespace kyv
