#pragma once
// Calls of the cipher engine, one file each, on the thread of the walk. A large file runs on a
// helper thread while the walk's thread reports its progress.

#include <cstdint>
#include <filesystem>

#include "engine/cipher/CipherEngine.h"

namespace kyv {

class BatchProgressMeter;
class ReportSink;

// Files above this size show their progress in the report window.
inline constexpr std::uint64_t kProgressShownAbove = 64ull * 1024 * 1024;

class EngineCaller {
public:
    // Runs Encrypt or Decrypt with `key` and returns the engine's result; for a large file the
    // sink and the batch's progress are told the bytes done so far (the sink hides the file's
    // progress when the file is finished). Exceptions of the engine are
    // passed on to the caller.
    [[nodiscard]] cipher::CipherResult Run(cipher::CipherEngine& engine, const cipher::Key& key, bool encrypt,
                                           const std::filesystem::path& input,
                                           const std::filesystem::path& output, std::uint64_t inputLength,
                                           ReportSink& sink, BatchProgressMeter& batch);
    // Length of what the last successful Run wrote; 0 after a failed one.
    [[nodiscard]] std::uint64_t LastOutputLength() const { return lastOutputLength_; }

private:
    std::uint64_t lastOutputLength_ = 0;
};

}  // namespace kyv
