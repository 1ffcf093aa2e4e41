#include "core/recovery/FileAuthenticator.h"

#include "engine/cipher/ChunkedCipherEngine.h"

namespace kyv {

FileAuthenticator::FileAuthenticator(cipher::ChunkedCipherEngine& engine, const unsigned char* key)
    : engine_(engine), key_(key)
{
}

FileAuthenticator::Outcome FileAuthenticator::Authenticate(const std::filesystem::path& file)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    engine_.OperationInitialization(key_, cipher::kKeyLength, false, error ? 0 : size);
    Outcome outcome;
    outcome.result = engine_.AuthenticateFile(file);
    if (outcome.Authentic()) outcome.plaintextLength = engine_.OutputLength();
    return outcome;
}

}  // namespace kyv
