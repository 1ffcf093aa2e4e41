#include "core/operation/EngineCall.h"

#include <chrono>
#include <future>

#include "core/common/BatchProgressMeter.h"
#include "core/common/ReportSink.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv {

namespace {
// Often enough for a smooth progress bar, seldom enough that reporting costs nothing.
constexpr std::chrono::milliseconds kProgressInterval{30};

cipher::CipherResult CallEngine(cipher::CipherEngine& engine, bool encrypt,
                                const std::filesystem::path& input, const std::filesystem::path& output)
{
    return encrypt ? engine.EncryptFile(input, output) : engine.DecryptFile(input, output);
}

}  // namespace

cipher::CipherResult EngineCaller::Run(cipher::CipherEngine& engine, bool encrypt,
                                       const std::filesystem::path& input,
                                       const std::filesystem::path& output, std::uint64_t inputLength,
                                       ReportSink& sink, BatchProgressMeter& batch)
{
    if (inputLength <= kProgressShownAbove) return CallEngine(engine, encrypt, input, output);
    std::future<cipher::CipherResult> result = std::async(
        std::launch::async,
        [&engine, encrypt, &input, &output] { return CallEngine(engine, encrypt, input, output); });
    while (result.wait_for(kProgressInterval) != std::future_status::ready) {
        const std::uint64_t done = engine.BytesProcessed();
        sink.ShowFileProgress(done, inputLength);
        batch.FileProgress(done);
    }
    sink.HideFileProgress();
    return result.get();
}

}  // namespace kyv
