#include "cli/AuthenticationKey.h"

#include "cli/Session.h"
#include "core/common/Prompter.h"
#include "core/common/Services.h"
#include "core/launch/KeyLengthening.h"
#include "core/recovery/FileAuthenticator.h"

namespace kyv::cli {

AuthenticationKey::AuthenticationKey() = default;

AuthenticationKey::~AuthenticationKey() { EraseKeyData(key_); }

KeyAcquired AuthenticationKey::Acquire(const CommandLine& line, Session& session)
{
    const KeyAcquired acquired = AcquireKey(line, key_, session.output, session.prompter);
    if (acquired != KeyAcquired::Yes) return acquired;
    engineKey_ = EngineKey(key_.normalizedKey);
    EraseKeyData(key_);
    const Services* services = session.ServicesWithEngine();
    if (services == nullptr || !engineKey_) {
        session.prompter.Tell(QStringLiteral("The cipher engine cannot have the memory it needs."),
                              QStringLiteral("Error"), MessageIcon::Error);
        return KeyAcquired::No;
    }
    authenticator_ = std::make_unique<FileAuthenticator>(services->engine, *engineKey_);
    return KeyAcquired::Yes;
}

}  // namespace kyv::cli
