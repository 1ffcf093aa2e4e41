#pragma once
// The engine's working memory: the key schedule with the keys it derived, and the guarded buffer
// that holds the current file's key. Had in one piece when the engine is made, wiped when it goes.

#include <optional>
#include <utility>

#include "engine/cipher/KeySchedule.h"
#include "engine/cipher/SecretBuffer.h"

namespace kyv::cipher {

class Workspace {
public:
    // None when libsodium cannot start or the guarded memory cannot be had.
    [[nodiscard]] static std::optional<Workspace> Open();

    Workspace(Workspace&&) noexcept = default;
    Workspace& operator=(Workspace&&) noexcept = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    ~Workspace() { keys_.Wipe(); }

    // The schedule of `key`: a key other than the last one wipes what was derived from the last.
    [[nodiscard]] KeySchedule& KeysOf(const Key& key)
    {
        keys_.SetKey(key.Bytes().data(), key.Bytes().size());
        return keys_;
    }
    [[nodiscard]] KeySchedule& Keys() { return keys_; }
    [[nodiscard]] const KeySchedule& Keys() const { return keys_; }
    // format::kKeySize bytes for the current file's key.
    [[nodiscard]] unsigned char* FileKey() { return fileKey_.Data(); }

private:
    explicit Workspace(SecretBuffer fileKey) : fileKey_(std::move(fileKey)) {}

    KeySchedule keys_;
    SecretBuffer fileKey_;
};

}  // namespace kyv::cipher
