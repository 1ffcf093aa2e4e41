#include "engine/filelib/TempNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace kyv::filelib {
namespace {

// Private to the user: the temporary file will hold the result of an encryption or decryption.
constexpr mode_t kNewFileMode = 0600;

}  // namespace

std::optional<long> NewFilepathExtension(const std::string& pathPrefix)
{
    if (pathPrefix.empty()) {
        return std::nullopt;
    }
    for (long n = 1; n <= kLargestFilepathExtension; ++n) {
        const std::string candidate = pathPrefix + std::to_string(n);
        struct stat status {};
        // lstat: a dangling symbolic link is an existing name too.
        if (::lstat(candidate.c_str(), &status) == 0) {
            continue;
        }
        if (errno == ENOENT) {
            return n;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<long> CreateNewFilepathExtension(const std::string& pathPrefix)
{
    if (pathPrefix.empty()) {
        return std::nullopt;
    }
    for (long n = 1; n <= kLargestFilepathExtension; ++n) {
        const std::string candidate = pathPrefix + std::to_string(n);
        const int descriptor =
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
        if (descriptor >= 0) {
            ::close(descriptor);
            return n;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

NewFileCheck NewFileCreatable(const std::filesystem::path& path)
{
    if (path.empty()) {
        return NewFileCheck::CannotCreate;
    }
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
    if (descriptor < 0) {
        return errno == EEXIST ? NewFileCheck::Exists : NewFileCheck::CannotCreate;
    }
    ::close(descriptor);
    return ::unlink(path.c_str()) == 0 ? NewFileCheck::Creatable : NewFileCheck::TrialFileNotRemoved;
}

}  // namespace kyv::filelib
