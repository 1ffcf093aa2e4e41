#include "engine/filelib/Purge.h"

#include "engine/filelib/FileOverwriter.h"

#include <sodium.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstdio>

namespace kyv::filelib {
namespace {

constexpr int kRenameAttempts = 16;
constexpr std::size_t kHiddenNameBytes = 6;

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    [[nodiscard]] int Get() const { return descriptor_; }
    [[nodiscard]] bool Close()
    {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

// A name of twelve random hexadecimal digits beside `path`, which tells nothing of the file.
std::filesystem::path MeaninglessNameBeside(const std::filesystem::path& path)
{
    std::array<unsigned char, kHiddenNameBytes> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    char name[2 * kHiddenNameBytes + 1];
    sodium_bin2hex(name, sizeof name, bytes.data(), bytes.size());
    return path.parent_path() / name;
}

// Renames without ever replacing an existing file; on file systems without that guarantee, checks first.
bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0 || errno != ENOENT) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

PurgeResult RemoveWithoutOverwriting(const std::filesystem::path& path)
{
    return ::unlink(path.c_str()) == 0 ? PurgeResult::RemovedNotOverwritten : PurgeResult::CannotRemove;
}

}  // namespace

PurgeResult PurgeFile(const std::filesystem::path& path, int mode, bool /*useDriveInformation*/,
                      int /*driveInformation*/)
{
    if (path.empty()) {
        return PurgeResult::BadPath;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? PurgeResult::NothingToRemove : PurgeResult::BadPath;
    }
    if (S_ISLNK(status.st_mode)) {
        return RemoveWithoutOverwriting(path);
    }
    if (!S_ISREG(status.st_mode)) {
        return PurgeResult::NotAFile;
    }
    if (status.st_nlink > 1) {
        return RemoveWithoutOverwriting(path);
    }
    const bool afterEncryption = mode != kPurgeAfterDecryption;
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0) {
        if (errno == ENOENT) {
            return PurgeResult::NothingToRemove;
        }
        return afterEncryption ? PurgeResult::CannotOverwrite : RemoveWithoutOverwriting(path);
    }
    struct stat opened {};
    if (::fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_ino != status.st_ino ||
        opened.st_dev != status.st_dev) {
        // Replaced between the look and the open: touch nothing.
        return PurgeResult::NotAFile;
    }
    if (::sodium_init() < 0) {
        return PurgeResult::CannotOverwrite;
    }

    std::filesystem::path hiddenName;
    for (int attempt = 0; attempt < kRenameAttempts && hiddenName.empty(); ++attempt) {
        const std::filesystem::path candidate = MeaninglessNameBeside(path);
        if (RenameWithoutReplacing(path, candidate)) {
            hiddenName = candidate;
        } else if (errno != EEXIST) {
            return PurgeResult::CannotRemove;
        }
    }
    if (hiddenName.empty()) {
        return PurgeResult::CannotRemove;
    }

    bool complete = OverwriteOpenFile(file.Get(), opened.st_size, afterEncryption);
    complete = ::ftruncate(file.Get(), 0) == 0 && complete;
    complete = ::fsync(file.Get()) == 0 && complete;
    complete = file.Close() && complete;
    if (::unlink(hiddenName.c_str()) != 0) {
        return PurgeResult::CannotRemove;
    }
    return complete ? PurgeResult::Done : PurgeResult::RemovedOverwriteIncomplete;
}

}  // namespace kyv::filelib
