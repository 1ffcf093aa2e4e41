#include "engine/filelib/Purge.h"

#include "engine/filelib/FileOverwriter.h"
#include "engine/filelib/OriginalNameRecord.h"

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

std::int64_t Nanoseconds(const timespec& time)
{
    constexpr std::int64_t kNsPerSecond = 1000000000;
    return static_cast<std::int64_t>(time.tv_sec) * kNsPerSecond + time.tv_nsec;
}

// The data is still what the caller read: same file, length and last write. (The entry's change
// time is left out: a rename alone changes it.)
bool SameData(const FileStamp* expected, const struct stat& status)
{
    return expected == nullptr ||
           (status.st_dev == expected->device && status.st_ino == expected->fileNumber &&
            static_cast<std::uint64_t>(status.st_size) == expected->size &&
            Nanoseconds(status.st_mtim) == expected->modifiedNs);
}

bool Matches(const FileStamp* expected, const struct stat& status)
{
    return expected == nullptr ||
           (SameData(expected, status) && Nanoseconds(status.st_ctim) == expected->changedNs);
}

PurgeResult Purge(const std::filesystem::path& path, int mode, const FileStamp* expected,
                  std::filesystem::path& leftAt)
{
    if (path.empty()) {
        return PurgeResult::BadPath;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT ? PurgeResult::NothingToRemove : PurgeResult::BadPath;
    }
    if (S_ISLNK(status.st_mode)) {
        struct stat target {};
        if (expected != nullptr && (::stat(path.c_str(), &target) != 0 || !Matches(expected, target))) {
            return PurgeResult::Changed;
        }
        return RemoveWithoutOverwriting(path);
    }
    if (!S_ISREG(status.st_mode)) {
        return expected != nullptr ? PurgeResult::Changed : PurgeResult::NotAFile;
    }
    if (status.st_nlink > 1) {
        return Matches(expected, status) ? RemoveWithoutOverwriting(path) : PurgeResult::Changed;
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
        return expected != nullptr ? PurgeResult::Changed : PurgeResult::NotAFile;
    }
    if (!Matches(expected, opened)) {
        return PurgeResult::Changed;
    }
    if (::sodium_init() < 0) {
        return PurgeResult::CannotOverwrite;
    }

    // Should the purge be cut short, the hidden file still tells which file it was.
    const bool recorded = RecordOriginalName(file.Get(), path.filename().native());
    const auto keepingItsName = [&file, recorded](PurgeResult result) {
        if (recorded) {
            ForgetOriginalName(file.Get());
        }
        return result;
    };
    std::filesystem::path hiddenName;
    for (int attempt = 0; attempt < kRenameAttempts && hiddenName.empty(); ++attempt) {
        const std::filesystem::path candidate = MeaninglessNameBeside(path);
        if (RenameWithoutReplacing(path, candidate)) {
            hiddenName = candidate;
        } else if (errno != EEXIST) {
            return keepingItsName(PurgeResult::CannotRemove);
        }
    }
    if (hiddenName.empty()) {
        return keepingItsName(PurgeResult::CannotRemove);
    }
    // Written to while it was being renamed: it goes back to its name untouched. (Its record goes
    // either way: its data is not what the result holds.)
    struct stat renamed {};
    if (::fstat(file.Get(), &renamed) != 0 || !SameData(expected, renamed)) {
        return keepingItsName(RenameWithoutReplacing(hiddenName, path) ? PurgeResult::Changed
                                                                       : PurgeResult::CannotRemove);
    }

    bool complete = OverwriteOpenFile(file.Get(), opened.st_size, afterEncryption);
    complete = ::ftruncate(file.Get(), 0) == 0 && complete;
    complete = ::fsync(file.Get()) == 0 && complete;
    complete = file.Close() && complete;
    if (::unlink(hiddenName.c_str()) != 0) {
        // Its name is free, but the emptied file stays under the meaningless one, with its record.
        leftAt = hiddenName;
        return PurgeResult::EmptiedNotRemoved;
    }
    return complete ? PurgeResult::Done : PurgeResult::RemovedOverwriteIncomplete;
}

}  // namespace

PurgeResult PurgeFile(const std::filesystem::path& path, int mode, bool /*useDriveInformation*/,
                      int /*driveInformation*/)
{
    std::filesystem::path leftAt;
    return Purge(path, mode, nullptr, leftAt);
}

PurgeResult PurgeFileIfUnchanged(const std::filesystem::path& path, int mode, const FileStamp& expected)
{
    std::filesystem::path leftAt;
    return Purge(path, mode, &expected, leftAt);
}

PurgeReport PurgeFileIfUnchangedReporting(const std::filesystem::path& path, int mode,
                                          const FileStamp& expected)
{
    PurgeReport report;
    report.result = Purge(path, mode, &expected, report.leftAt);
    return report;
}

}  // namespace kyv::filelib
