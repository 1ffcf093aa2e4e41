#pragma once
// Read-only access to one regular file, in large blocks. Folders, devices and pipes are refused at
// open, so that no caller can block on a pipe or read a device by mistake.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace kyv::filelib {

class RegularFileReader {
public:
    enum class OpenResult {
        Opened,
        NotFound,    // no such file, a folder or other non-file, or a path the system cannot take
        Unreadable,  // exists, but cannot be opened for reading (permissions, locks, I/O)
    };

    // Size of the blocks handed to ForEachBlock: large enough that system calls cost nothing.
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    RegularFileReader() = default;
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;
    ~RegularFileReader();

    [[nodiscard]] OpenResult Open(const std::filesystem::path& path);

    // Length of the file when it was opened.
    [[nodiscard]] std::int64_t Size() const { return size_; }

    // Fills `buffer` with the next `count` bytes; false on a read error or when the file ends sooner.
    [[nodiscard]] bool ReadExactly(unsigned char* buffer, std::size_t count);

    // Reads `count` bytes from `offset` into `buffer` as ReadAt does; returns how many it read, fewer
    // only where the file ends, or -1 on a read error.
    [[nodiscard]] std::int64_t ReadUpToAt(unsigned char* buffer, std::size_t count,
                                          std::int64_t offset) const;

    // Fills `buffer` with `count` bytes from `offset`, without moving the position of the other reads;
    // several threads may call it at once. False on a read error or when the file ends sooner.
    [[nodiscard]] bool ReadAt(unsigned char* buffer, std::size_t count, std::int64_t offset) const;

    // Hands the file's Size() bytes to `consume` in blocks of at most kBlockSize. False on a read
    // error, or when the file turns out shorter than it was at open (truncated or replaced while read);
    // bytes added after the open are not read.
    [[nodiscard]] bool ForEachBlock(const std::function<void(const unsigned char*, std::size_t)>& consume);

private:
    int descriptor_ = -1;
    std::int64_t size_ = 0;
};

}  // namespace kyv::filelib
