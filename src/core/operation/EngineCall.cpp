#include "core/operation/EngineCall.h"

#include <chrono>
#include <future>

#include "core/common/Events.h"
#include "core/common/ReportSink.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv {

namespace {
// Short enough that clicks feel immediate, long enough that polling costs nothing.
constexpr std::chrono::milliseconds kEventInterval{30};

int RunEngineCallHere(cipher::CipherEngine& engine, bool encrypt, const std::filesystem::path& input,
                      const std::filesystem::path& output)
{
    return encrypt ? engine.EncryptFile(input, output) : engine.DecryptFile(input, output);
}

}  // namespace

int RunEngineCall(cipher::CipherEngine& engine, bool encrypt, const std::filesystem::path& input,
                  const std::filesystem::path& output, std::uint64_t inputLength, ReportSink& sink)
{
    // A small file with its key at hand takes less time than handing it to another thread.
    if (inputLength <= kRunHereUpTo && engine.KeyIsDerived(encrypt, input))
        return RunEngineCallHere(engine, encrypt, input, output);
    std::future<int> result = std::async(std::launch::async, [&engine, encrypt, &input, &output] {
        return RunEngineCallHere(engine, encrypt, input, output);
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
