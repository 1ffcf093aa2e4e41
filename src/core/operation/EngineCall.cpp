#include "core/operation/EngineCall.h"

#include <future>

#include "core/common/Events.h"
#include "core/common/ReportSink.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv {

namespace {
// Short enough that clicks feel immediate, long enough that polling costs nothing.
constexpr std::chrono::milliseconds kEventInterval{30};

cipher::CipherResult CallEngine(cipher::CipherEngine& engine, bool encrypt,
                                const std::filesystem::path& input, const std::filesystem::path& output)
{
    return encrypt ? engine.EncryptFile(input, output) : engine.DecryptFile(input, output);
}

}  // namespace

cipher::CipherResult EngineCaller::Run(cipher::CipherEngine& engine, bool encrypt,
                                       const std::filesystem::path& input,
                                       const std::filesystem::path& output, std::uint64_t inputLength,
                                       ReportSink& sink)
{
    if (runHere_ && inputLength <= kRunHereUpTo && engine.KeyIsDerived(encrypt, input)) {
        const auto start = std::chrono::steady_clock::now();
        const cipher::CipherResult result = CallEngine(engine, encrypt, input, output);
        if (std::chrono::steady_clock::now() - start > kLongestCallHere) runHere_ = false;
        return result;
    }
    std::future<cipher::CipherResult> result = std::async(std::launch::async, [&engine, encrypt, &input, &output] {
        return CallEngine(engine, encrypt, input, output);
    });
    const bool showProgress = inputLength > kProgressShownAbove;
    while (result.wait_for(kEventInterval) != std::future_status::ready) {
        if (showProgress) sink.ShowFileProgress(engine.BytesProcessed(), inputLength);
        ProcessPendingEvents();
    }
    if (showProgress) sink.HideFileProgress();
    return result.get();
}

}  // namespace kyv
