#include "engine/cipher/OutputFile.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

namespace kyv::cipher {

namespace {

constexpr int kCreateAttempts = 16;

std::string RandomSuffix()
{
    static constexpr char kDigits[] = "0123456789abcdef";
    unsigned char bytes[6];
    randombytes_buf(bytes, sizeof bytes);
    std::string suffix = ".kyvpart-";
    for (unsigned char byte : bytes) {
        suffix += kDigits[byte >> 4];
        suffix += kDigits[byte & 15];
    }
    return suffix;
}

// The working name beside `finalPath`: the final name with a random suffix, or only the suffix
// when that would pass the file system's limit on a name's length.
std::filesystem::path WorkingName(const std::filesystem::path& finalPath)
{
    const std::string suffix = RandomSuffix();
    const std::filesystem::path folder = finalPath.parent_path().empty() ? "." : finalPath.parent_path();
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    if (finalPath.filename().string().size() + suffix.size() <= nameMax) {
        std::filesystem::path candidate = finalPath;
        return candidate += suffix;
    }
    return finalPath.parent_path() / suffix;
}

int FlushFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    // Some file systems cannot flush a folder; the rename is then as durable as they make it.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) {
        error = errno;
    }
    ::close(fd);
    return error;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

int OutputFile::Create(const std::filesystem::path& finalPath)
{
    Discard();
    if (finalPath.empty() || !finalPath.has_filename()) {
        return ENOENT;
    }
    finalPath_ = finalPath;
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::filesystem::path candidate = WorkingName(finalPath);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd_ >= 0) {
            workingPath_ = candidate;
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int OutputFile::Truncate(std::uint64_t length)
{
    if (fd_ < 0) {
        return EBADF;
    }
    return ::ftruncate(fd_, static_cast<off_t>(length)) == 0 ? 0 : errno;
}

int OutputFile::Commit()
{
    if (fd_ < 0) {
        return EBADF;
    }
    int error = 0;
    if (::fsync(fd_) != 0) {
        error = errno;
    }
    if (::close(fd_) != 0 && error == 0) {
        error = errno;
    }
    fd_ = -1;
    if (error == 0 && ::rename(workingPath_.c_str(), finalPath_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(workingPath_.c_str());
        workingPath_.clear();
        return error;
    }
    workingPath_.clear();
    // A rename that may not survive a crash must not let the caller purge the original.
    error = FlushFolder(finalPath_.parent_path());
    if (error != 0) {
        ::unlink(finalPath_.c_str());
    }
    return error;
}

void OutputFile::Discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!workingPath_.empty()) {
        ::unlink(workingPath_.c_str());
        workingPath_.clear();
    }
}

}  // namespace kyv::cipher
