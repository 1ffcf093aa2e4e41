#pragma once
// The random-key window, as the keyfile command sees it.

#include "core/keys/SecureBytes.h"

namespace kyv {

class RandomKeySource {
public:
    virtual ~RandomKeySource() = default;
    // Shows the window until it has gathered a fresh key of 64 characters or is closed; returns
    // what it gathered (fewer than 64 characters when it was closed early).
    [[nodiscard]] virtual SecureBytes GatherRandomKey() = 0;
};

}  // namespace kyv
