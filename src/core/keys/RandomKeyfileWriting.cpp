#include "core/keys/RandomKeyfileWriting.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sodium.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/keys/KeyfileReading.h"
#include "core/keys/SecureBytes.h"

namespace kyv {

namespace {

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool WriteAll(int fd, std::span<const unsigned char> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the file's new name durable; some file systems cannot flush a folder and say so.
int SyncFolder(const platform::FilePath& file)
{
    std::error_code noFolder;
    const std::filesystem::path folder = std::filesystem::absolute(file, noFolder).parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) error = errno;
    ::close(fd);
    return error;
}

}  // namespace

bool WriteRandomKeyfile(const platform::FilePath& path, std::span<const unsigned char> key,
                        QString& errorText)
{
    errorText.clear();
    // Created here (not there before): a failed write removes it again, so that no empty or partial
    // file is left to be taken for a keyfile later.
    int fd = ::open(path.CString(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    const bool created = fd >= 0;
    if (fd < 0 && errno == EEXIST) fd = ::open(path.CString(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        errorText = SystemError(errno);
        return false;
    }
    int error = 0;
    // An existing file keeps its mode on open; the key must not stay readable by others.
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 || !WriteAll(fd, key) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0) error = SyncFolder(path);
    if (error == 0) {
        SecureBytes readBack;
        if (!ReadKeyfileBytes(path, readBack, errorText)) {
            if (created) ::unlink(path.CString());
            return false;
        }
        if (readBack.size() < key.size() || sodium_memcmp(readBack.data(), key.data(), key.size()) != 0)
            error = EIO;
    }
    if (error == 0) return true;
    if (created) ::unlink(path.CString());
    errorText = SystemError(error);
    return false;
}

}  // namespace kyv
