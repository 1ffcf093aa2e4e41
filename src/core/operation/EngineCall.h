#pragma once
// One call of the cipher engine, run on a worker thread while the calling (window) thread keeps
// handling events, so that a long file never freezes the program.

#include <cstdint>
#include <filesystem>

namespace kyv {

class ReportSink;

namespace cipher {
class CipherEngine;
}

// Files above this size show their progress in the report window.
inline constexpr std::uint64_t kProgressShownAbove = 64ull * 1024 * 1024;

// Runs EncryptFile or DecryptFile and returns the engine's result. Pending events are processed
// while it runs; for a large file the sink is told the bytes done so far. Exceptions of the
// engine are passed on to the caller.
[[nodiscard]] int RunEngineCall(cipher::CipherEngine& engine, bool encrypt,
                                const std::filesystem::path& input, const std::filesystem::path& output,
                                std::uint64_t inputLength, ReportSink& sink);

}  // namespace kyv
