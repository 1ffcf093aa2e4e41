#pragma once
// The key of `kyv verify` and `kyv recover`, read as every command reads it, with the session's
// engine that authenticates files with it. The key is wiped when this object goes.

#include <memory>
#include <optional>

#include "cli/KeyAcquisition.h"
#include "core/keys/KeyState.h"
#include "engine/cipher/Key.h"

namespace kyv {
class FileAuthenticator;
}

namespace kyv::cli {

struct Session;

class AuthenticationKey {
public:
    AuthenticationKey();
    ~AuthenticationKey();
    AuthenticationKey(const AuthenticationKey&) = delete;
    AuthenticationKey& operator=(const AuthenticationKey&) = delete;

    // Reads the key the command line names and readies the engine; tells the user why when not.
    [[nodiscard]] KeyAcquired Acquire(const CommandLine& line, Session& session);
    [[nodiscard]] FileAuthenticator& Authenticator() { return *authenticator_; }

private:
    KeyState key_;
    std::optional<cipher::Key> engineKey_;
    std::unique_ptr<FileAuthenticator> authenticator_;
};

}  // namespace kyv::cli
