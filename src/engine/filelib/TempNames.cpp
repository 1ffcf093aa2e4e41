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

long NewFilepathExtension(const std::string& pathPrefix)
{
    if (pathPrefix.empty()) {
        return 0;
    }
    for (long n = 1; n <= kLargestFilepathExtension; ++n) {
        const std::string candidate = pathPrefix + std::to_string(n);
        struct stat status {};
        // lstat: a dangling symbolic link is an existing name too.
        if (::lstat(candidate.c_str(), &status) == 0) {
            continue;
        }
        return errno == ENOENT ? n : 0;
    }
    return 0;
}

long CreateNewFilepathExtension(const std::string& pathPrefix)
{
    if (pathPrefix.empty()) {
        return 0;
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
            return 0;
        }
    }
    return 0;
}

int NewFileCreatable(const std::filesystem::path& path)
{
    if (path.empty()) {
        return -1;
    }
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kNewFileMode);
    if (descriptor < 0) {
        return errno == EEXIST ? 0 : -1;
    }
    ::close(descriptor);
    return ::unlink(path.c_str()) == 0 ? 1 : -2;
}

}  // namespace kyv::filelib
