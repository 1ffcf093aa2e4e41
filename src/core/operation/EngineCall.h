#pragma once
// Calls of the cipher engine, one file each. A call runs on a worker thread while the calling
// (window) thread keeps handling events, so that a long file or a key derivation never freezes the
// program. A small file whose key is already derived runs on the calling thread instead: handing
// it over would cost more than the file. When such a call keeps the calling thread too long (a
// slow or busy device), the rest of the pass goes to the worker thread again.

#include <chrono>
#include <cstdint>
#include <filesystem>

#include "engine/cipher/CipherEngine.h"

namespace kyv {

class ReportSink;

namespace cipher {
class CipherEngine;
}

// Files above this size show their progress in the report window.
inline constexpr std::uint64_t kProgressShownAbove = 64ull * 1024 * 1024;

// Files up to this size may run on the calling thread.
inline constexpr std::uint64_t kRunHereUpTo = 256 * 1024;

// A call on the calling thread that takes longer than this sends the following ones to the worker.
inline constexpr std::chrono::milliseconds kLongestCallHere{20};

class EngineCaller {
public:
    // Runs EncryptFile or DecryptFile and returns the engine's result. Pending events are
    // processed while it runs on a worker thread; for a large file the sink is told the bytes
    // done so far. Exceptions of the engine are passed on to the caller.
    [[nodiscard]] cipher::CipherResult Run(cipher::CipherEngine& engine, bool encrypt,
                                           const std::filesystem::path& input,
                                           const std::filesystem::path& output, std::uint64_t inputLength,
                                           ReportSink& sink);

private:
    bool runHere_ = true;
};

}  // namespace kyv
