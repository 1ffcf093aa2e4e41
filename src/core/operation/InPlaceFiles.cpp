#include "core/operation/InPlaceFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <system_error>

#include "core/files/FolderPath.h"
#include "engine/filelib/Purge.h"
#include "engine/filelib/TempNames.h"
#include "platform/Drives.h"

namespace kyv {

namespace fs = std::filesystem;

namespace {

// For a file on a floppy: the same name in the root of the first fixed drive, where there is room.
// Empty when there is no fixed drive: the temporary file then stays beside the original.
FilePath FloppyCandidate(const FilePath& path)
{
    const QString fixedDrive = platform::FirstFixedDrive();
    return fixedDrive.isEmpty() ? FilePath() : FilePath(fixedDrive) / path.Name();
}

bool FlushDescriptorOf(const fs::path& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    // A file system that cannot flush a folder makes the entry as durable as it can.
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return flushed;
}

bool FlushFolder(const fs::path& file)
{
    const fs::path folder = file.parent_path();
    return FlushDescriptorOf(folder.empty() ? fs::path(".") : folder, O_RDONLY | O_DIRECTORY);
}

// Writes all `size` bytes, going on after an interrupted or short write.
bool WriteAll(int out, const char* data, std::size_t size)
{
    for (std::size_t written = 0; written < size;) {
        const ssize_t put = ::write(out, data + written, size - written);
        if (put < 0 && errno != EINTR) return false;
        if (put > 0) written += static_cast<std::size_t>(put);
    }
    return true;
}

// Copies the data of `in` to `out`, from where each stands to the end of `in`.
bool CopyData(int in, int out)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!WriteAll(out, buffer, static_cast<std::size_t>(got))) return false;
    }
}

// The copy gets the source's owner, group and permission bits, as far as the system permits.
void TakeSourcesAccess(int in, int out)
{
    struct stat source {};
    if (::fstat(in, &source) != 0) return;
    (void)::fchown(out, source.st_uid, source.st_gid);
    (void)::fchmod(out, source.st_mode & 0777);
}

// Copies `from` to the new file `to` (created exclusively, owner-only), flushed; on failure no
// part of the copy remains.
bool CopyToNewFile(const fs::path& from, const fs::path& to)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = CopyData(in, out);
    if (ok) TakeSourcesAccess(in, out);
    ok = ok && ::fsync(out) == 0;
    ok = (::close(out) == 0) && ok;
    ::close(in);
    if (!ok) ::unlink(to.c_str());
    return ok && FlushFolder(to);
}

// Room a numbered name keeps for its number, and for the working suffix the engine adds to it.
constexpr std::size_t kNumberRoom = 7;
constexpr std::size_t kEngineSuffixRoom = 16;

// The path with its name cut, when needed, so that the numbered name and the engine's working
// name beside it fit the file system's limit on a name's length: the cut ends in "~" and never
// splits a character.
FilePath NumberedPrefix(const FilePath& path)
{
    const FilePath folder = path.Parent().IsEmpty() ? FilePath(".") : path.Parent();
    const long limit = ::pathconf(folder.CString(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    std::string name = path.Name().Bytes();
    if (name.size() + kNumberRoom + kEngineSuffixRoom <= nameMax) return path;
    std::size_t keep =
        nameMax > kNumberRoom + kEngineSuffixRoom + 1 ? nameMax - kNumberRoom - kEngineSuffixRoom - 1 : 1;
    while (keep > 1 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    name.resize(keep);
    return path.Parent() / FilePath(name + "~");
}

// The prefix followed by the smallest number that makes a free name, with a new file made under it;
// empty when there is none.
FilePath NumberedName(const FilePath& prefix)
{
    const std::optional<long> number = filelib::CreateNewFilepathExtension(prefix.Bytes());
    return number ? prefix.WithSuffix(QString::number(*number)) : FilePath();
}

}  // namespace

FilePath ReserveTemporaryOutput(const FilePath& path, const platform::FloppyFolders& floppies)
{
    FilePath prefix = NumberedPrefix(path);
    const FilePath candidate =
        platform::IsFloppyDrivePath(path, floppies) ? FloppyCandidate(path) : FilePath();
    if (!candidate.IsEmpty()) {
        const int fd = ::open(candidate.CString(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                              S_IRUSR | S_IWUSR);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        prefix = NumberedPrefix(candidate);
    }
    return NumberedName(prefix);
}

FilePath ReserveNameBeside(const FilePath& path) { return NumberedName(NumberedPrefix(path)); }

bool FlushToDevice(const FilePath& path) { return FlushDescriptorOf(path, O_RDONLY) && FlushFolder(path); }

bool FlushFolderEntry(const FilePath& path) { return FlushFolder(path); }

OriginalPurge PurgeOriginal(const FilePath& path, int level, const platform::FileIdentity& read)
{
    const fs::path& file = path;
    platform::FileIdentity now = platform::IdentifyFile(file);
    if (!platform::Unchanged(read, now)) return {PurgeOutcome::Changed, {}};
    std::error_code error;
    const fs::perms permissions = fs::status(file, error).permissions();
    if (!error && (permissions & fs::perms::owner_write) == fs::perms::none) {
        // Granting the write permission changes the entry: the purge then expects the new entry.
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
        now = platform::IdentifyFile(file);
        if (!platform::SameFile(read, now) || now.size != read.size || now.modifiedNs != read.modifiedNs)
            return {PurgeOutcome::Changed, {}};
    }
    const filelib::FileStamp stamp{now.device, now.fileNumber, now.size, now.modifiedNs, now.changedNs};
    const filelib::PurgeReport report = filelib::PurgeFileIfUnchangedReporting(file, level, stamp);
    switch (report.result) {
        case filelib::PurgeResult::Changed:
            return {PurgeOutcome::Changed, {}};
        case filelib::PurgeResult::RemovedOverwriteIncomplete:
            return {PurgeOutcome::DeletedNotOverwritten, {}};
        case filelib::PurgeResult::EmptiedNotRemoved:
            return {PurgeOutcome::EmptiedNotDeleted, report.leftAt};
        default:
            return {filelib::FileIsGone(report.result) ? PurgeOutcome::Gone : PurgeOutcome::Left, {}};
    }
}

void TakeOriginalsAccess(const FilePath& path, const platform::FileIdentity& original)
{
    const int fd = ::open(path.CString(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    // Only root gives a file away; an owner may still give it one of their own groups.
    bool groupKept = ::fchown(fd, original.owner, original.group) == 0 ||
                     ::fchown(fd, static_cast<uid_t>(-1), original.group) == 0;
    struct stat now {};
    groupKept = groupKept || (::fstat(fd, &now) == 0 && now.st_gid == original.group);
    const mode_t mode =
        groupKept ? original.permissions : (original.permissions & ~static_cast<mode_t>(S_IRWXG));
    (void)::fchmod(fd, mode);
    (void)::fsync(fd);
    ::close(fd);
}

bool MoveToFreeName(const FilePath& from, const FilePath& to)
{
    const fs::path& source = from;
    const fs::path& target = to;
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return FlushFolder(target);
    if (errno == EEXIST) return false;
    if (errno == EXDEV) {
        if (!CopyToNewFile(source, target)) return false;
        ::unlink(source.c_str());
        return true;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without the no-replace rename: a hard link is just as exclusive.
        if (::link(source.c_str(), target.c_str()) != 0) return false;
        ::unlink(source.c_str());
        return FlushFolder(target);
    }
    return false;
}

}  // namespace kyv
