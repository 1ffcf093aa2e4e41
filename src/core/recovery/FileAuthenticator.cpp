#include "core/recovery/FileAuthenticator.h"

#include "engine/cipher/FileFormat.h"

namespace kyv {

FileAuthenticator::FileAuthenticator(cipher::CipherEngine& engine, const unsigned char* key)
    : engine_(engine), key_(key)
{
}

FileAuthenticator::Outcome FileAuthenticator::Authenticate(const std::filesystem::path& file)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    engine_.OperationInitialization(key_, cipher::kKeyLength, false, error ? 0 : size);
    Outcome outcome;
    outcome.result = engine_.VerifyFile(file);
    // An authentic file's length tells its plaintext's.
    if (outcome.Authentic()) outcome.plaintextLength = cipher::format::PlaintextLengthFor(size).value_or(0);
    return outcome;
}

}  // namespace kyv
