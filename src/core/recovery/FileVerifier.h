#pragma once
// `kyv verify`: authenticates every encrypted file of a folder that matches a file specification
// (and of its subfolders), writing no plaintext anywhere, so that a backup can be checked before
// its originals are deleted.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "engine/cipher/CipherEngine.h"
#include "platform/FilePath.h"

namespace kyv {

class FileAuthenticator;

struct VerifiedFile {
    platform::FilePath path;
    std::uint64_t size = 0;
    cipher::CipherResult result = cipher::CipherResult::InputNotFound;
    std::uint64_t plaintextLength = 0;  // when it authenticated
    [[nodiscard]] bool Authentic() const { return result == cipher::CipherResult::Success; }
};

struct VerifyRun {
    int authentic = 0;
    int failed = 0;
    QStringList unreadFolders;  // each with the system's reason
    bool stopped = false;
    // Every file found authenticated, at least one was found, and every folder was read.
    [[nodiscard]] bool AllAuthentic() const
    {
        return failed == 0 && authentic > 0 && unreadFolders.isEmpty() && !stopped;
    }
};

struct VerifyRequest {
    platform::FilePath folder;  // ends in a separator
    QString spec;
    bool subfolders = false;
};

// Calls `onFile` after each file; `stopRequested` is asked between files.
[[nodiscard]] VerifyRun VerifyFiles(const VerifyRequest& request, FileAuthenticator& authenticator,
                                    const std::function<void(const VerifiedFile&)>& onFile,
                                    const std::function<bool()>& stopRequested);

// "name: authentic, 1,234 bytes of plaintext" or "name: FAILED, " and why.
[[nodiscard]] QString VerifiedFileLine(const VerifiedFile& file);
[[nodiscard]] QString VerifySummary(const VerifyRun& run);

}  // namespace kyv
