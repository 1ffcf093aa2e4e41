#include "engine/filelib/RegularFileReader.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <memory>

namespace kyv::filelib {

namespace {

// Reads `count` bytes through `readOnce` (a read or pread call), going on after interruptions;
// false on an error or an early end of the file.
template <typename ReadOnce>
bool ReadAll(unsigned char* buffer, std::size_t count, ReadOnce readOnce)
{
    while (count > 0) {
        const ssize_t got = readOnce(buffer, count);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            return false;
        }
        buffer += got;
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

RegularFileReader::~RegularFileReader()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

RegularFileReader::OpenResult RegularFileReader::Open(const std::filesystem::path& path)
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (path.empty()) {
        return OpenResult::NotFound;
    }
    // O_NONBLOCK: opening a named pipe must not wait for a writer; it is refused just below.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        switch (errno) {
            case ENOENT:
            case ENOTDIR:
            case ENAMETOOLONG:
            case ELOOP:
            case EISDIR:
                return OpenResult::NotFound;
            default:
                return OpenResult::Unreadable;
        }
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        ::close(descriptor);
        return OpenResult::Unreadable;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return OpenResult::NotFound;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) {
        ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
    }
    ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    descriptor_ = descriptor;
    size_ = status.st_size;
    return OpenResult::Opened;
}

bool RegularFileReader::ReadExactly(unsigned char* buffer, std::size_t count)
{
    if (descriptor_ < 0) {
        return false;
    }
    return ReadAll(buffer, count,
                   [this](unsigned char* to, std::size_t wanted) { return ::read(descriptor_, to, wanted); });
}

std::int64_t RegularFileReader::ReadUpToAt(unsigned char* buffer, std::size_t count,
                                           std::int64_t offset) const
{
    if (descriptor_ < 0 || offset < 0) {
        return -1;
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor_, buffer + done, count - done,
                                    static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool RegularFileReader::ReadAt(unsigned char* buffer, std::size_t count, std::int64_t offset) const
{
    if (descriptor_ < 0 || offset < 0) {
        return false;
    }
    return ReadAll(buffer, count, [this, &offset](unsigned char* to, std::size_t wanted) {
        const ssize_t got = ::pread(descriptor_, to, wanted, static_cast<off_t>(offset));
        if (got > 0) {
            offset += got;
        }
        return got;
    });
}

bool RegularFileReader::ForEachBlock(const std::function<void(const unsigned char*, std::size_t)>& consume)
{
    if (descriptor_ < 0) {
        return false;
    }
    std::int64_t remaining = size_;
    const std::size_t bufferSize =
        remaining < static_cast<std::int64_t>(kBlockSize) ? static_cast<std::size_t>(remaining) : kBlockSize;
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(bufferSize > 0 ? bufferSize : 1);
    while (remaining > 0) {
        const std::size_t part = remaining < static_cast<std::int64_t>(bufferSize)
                                     ? static_cast<std::size_t>(remaining)
                                     : bufferSize;
        if (!ReadExactly(buffer.get(), part)) {
            sodium_memzero(buffer.get(), bufferSize);
            return false;
        }
        consume(buffer.get(), part);
        remaining -= static_cast<std::int64_t>(part);
    }
    // The file may be a keyfile; its bytes do not outlive the reading.
    sodium_memzero(buffer.get(), bufferSize);
    return true;
}

}  // namespace kyv::filelib
