#pragma once
// Opens encrypted files with a key and authenticates every chunk, writing no plaintext anywhere:
// what `kyv verify` and the recovery scan ask of a file.

#include <cstdint>
#include <filesystem>

#include "engine/cipher/CipherEngine.h"

namespace kyv {

class FileAuthenticator {
public:
    // Both must outlive this object.
    FileAuthenticator(cipher::CipherEngine& engine, const cipher::Key& key);

    struct Outcome {
        cipher::CipherResult result = cipher::CipherResult::InputNotFound;
        std::uint64_t plaintextLength = 0;  // when the result is Success
        [[nodiscard]] bool Authentic() const { return result == cipher::CipherResult::Success; }
    };
    [[nodiscard]] Outcome Authenticate(const std::filesystem::path& file);

private:
    cipher::CipherEngine& engine_;
    const cipher::Key& key_;
};

}  // namespace kyv
