#include "cli/AuthenticationKey.h"

#include "cli/Session.h"
#include "core/common/Prompter.h"
#include "core/launch/KeyLengthening.h"
#include "core/recovery/FileAuthenticator.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv::cli {

AuthenticationKey::AuthenticationKey() = default;

AuthenticationKey::~AuthenticationKey() { EraseKeyData(key_); }

KeyAcquired AuthenticationKey::Acquire(const CommandLine& line, Session& session)
{
    const KeyAcquired acquired = AcquireKey(line, key_, session.output, session.prompter);
    if (acquired != KeyAcquired::Yes) return acquired;
    engineKey_ = EngineKey(key_.normalizedKey);
    EraseKeyData(key_);
    engine_ = cipher::MakeCipherEngine();
    if (!engine_ || !engineKey_) {
        session.prompter.Tell(QStringLiteral("The cipher engine cannot have the memory it needs."),
                              QStringLiteral("Error"), MessageIcon::Error);
        return KeyAcquired::No;
    }
    authenticator_ = std::make_unique<FileAuthenticator>(*engine_, *engineKey_);
    return KeyAcquired::Yes;
}

}  // namespace kyv::cli
