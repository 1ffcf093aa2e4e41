#include "core/recovery/FileAuthenticator.h"

namespace kyv {

FileAuthenticator::FileAuthenticator(cipher::CipherEngine& engine, const cipher::Key& key)
    : engine_(engine), key_(key)
{
}

FileAuthenticator::Outcome FileAuthenticator::Authenticate(const std::filesystem::path& file)
{
    const cipher::Outcome verified = engine_.Verify(key_, file);
    return {verified.result, verified.Succeeded() ? verified.outputLength : 0};
}

}  // namespace kyv
