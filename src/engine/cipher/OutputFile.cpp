#include "engine/cipher/OutputFile.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sodium.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <string>

namespace kyv::cipher {

namespace {

constexpr int kCreateAttempts = 16;

// Random bytes for working names, drawn from the system a page at a time: a name is no secret, and
// one draw per file counts for many small files.
void NameBytes(unsigned char* bytes, std::size_t count)
{
    thread_local std::array<unsigned char, 4096> pool;
    thread_local std::size_t used = pool.size();
    if (used + count > pool.size()) {
        randombytes_buf(pool.data(), pool.size());
        used = 0;
    }
    std::copy_n(pool.begin() + static_cast<std::ptrdiff_t>(used), count, bytes);
    used += count;
}

std::string RandomSuffix()
{
    static constexpr char kDigits[] = "0123456789abcdef";
    unsigned char bytes[6];
    NameBytes(bytes, sizeof bytes);
    std::string suffix = ".kyvpart-";
    for (unsigned char byte : bytes) {
        suffix += kDigits[byte >> 4];
        suffix += kDigits[byte & 15];
    }
    return suffix;
}

// What a working file needs to know of the file system of the folder it is made in.
struct FolderFileSystem {
    std::size_t nameMax = NAME_MAX;
    // tmpfs and ramfs keep nothing across a restart, so flushing to them cannot make anything
    // durable: their fsync does nothing, and the calls are saved, which counts for many small files.
    bool inMemory = false;
};

// Looked up once per folder: a batch makes its files in one folder after another.
FolderFileSystem FileSystemOf(const std::filesystem::path& folder)
{
    thread_local std::filesystem::path lastFolder;
    thread_local FolderFileSystem last;
    thread_local bool known = false;
    if (known && folder == lastFolder) {
        return last;
    }
    struct statfs status {};
    if (::statfs(folder.c_str(), &status) != 0) {
        return FolderFileSystem{};
    }
    last.nameMax = status.f_namelen > 0 ? static_cast<std::size_t>(status.f_namelen) : NAME_MAX;
    last.inMemory = status.f_type == static_cast<decltype(status.f_type)>(TMPFS_MAGIC) ||
                    status.f_type == static_cast<decltype(status.f_type)>(RAMFS_MAGIC);
    lastFolder = folder;
    known = true;
    return last;
}

// The working name beside `finalPath`: the final name with a random suffix, or only the suffix
// when that would pass the file system's limit on a name's length.
std::filesystem::path WorkingName(const std::filesystem::path& finalPath, std::size_t nameMax)
{
    const std::string suffix = RandomSuffix();
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
    const FolderFileSystem fileSystem =
        FileSystemOf(finalPath.parent_path().empty() ? "." : finalPath.parent_path());
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::filesystem::path candidate = WorkingName(finalPath, fileSystem.nameMax);
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd_ >= 0) {
            workingPath_ = candidate;
            inMemory_ = fileSystem.inMemory;
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
    if (!inMemory_ && ::fsync(fd_) != 0) {
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
    error = inMemory_ ? 0 : FlushFolder(finalPath_.parent_path());
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
