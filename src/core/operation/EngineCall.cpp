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

cipher::Outcome CallEngine(cipher::CipherEngine& engine, const cipher::Key& key, bool encrypt,
                           const std::filesystem::path& input, const std::filesystem::path& output)
{
    return encrypt ? engine.Encrypt(key, input, output) : engine.Decrypt(key, input, output);
}

}  // namespace

cipher::CipherResult EngineCaller::Run(cipher::CipherEngine& engine, const cipher::Key& key, bool encrypt,
                                       const std::filesystem::path& input,
                                       const std::filesystem::path& output, std::uint64_t inputLength,
                                       ReportSink& sink, BatchProgressMeter& batch)
{
    lastOutputLength_ = 0;
    cipher::Outcome outcome;
    if (inputLength <= kProgressShownAbove) {
        outcome = CallEngine(engine, key, encrypt, input, output);
    } else {
        std::future<cipher::Outcome> result =
            std::async(std::launch::async, [&engine, &key, encrypt, &input, &output] {
                return CallEngine(engine, key, encrypt, input, output);
            });
        while (result.wait_for(kProgressInterval) != std::future_status::ready) {
            const std::uint64_t done = engine.BytesProcessed();
            ProgressEvent progress;
            progress.of = ProgressEvent::Of::FileBytes;
            progress.fileBytesDone = done;
            progress.fileBytesTotal = inputLength;
            (void)sink.Deliver(progress);
            batch.FileProgress(done);
        }
        outcome = result.get();
    }
    if (outcome.Succeeded()) lastOutputLength_ = outcome.outputLength;
    return outcome.result;
}

}  // namespace kyv
