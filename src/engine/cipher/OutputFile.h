#pragma once
// An output file that appears under its name only when complete.
//
// The data goes into a new sibling file (owner-only permissions, created exclusively); Commit
// flushes it, renames it over the final name and flushes the folder, so that a crash or a failure
// never leaves a half-written file under the final name and never harms a file already there.
// On a file system held in memory alone the flushes are left out: there is nothing to flush to.

#include <cstdint>
#include <filesystem>

namespace kyv::cipher {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the working file beside `finalPath`; 0 or an errno value.
    [[nodiscard]] int Create(const std::filesystem::path& finalPath);
    [[nodiscard]] int Descriptor() const { return fd_; }

    // Cuts the working file to `length` bytes; 0 or an errno value.
    [[nodiscard]] int Truncate(std::uint64_t length);
    // Flushes the file, gives it the final name and flushes the folder; 0 or an errno value.
    // On failure the working file is removed.
    [[nodiscard]] int Commit();
    // Closes and removes the working file.
    void Discard();

    [[nodiscard]] const std::filesystem::path& WorkingPath() const { return workingPath_; }

private:
    int fd_ = -1;
    bool inMemory_ = false;  // on tmpfs or ramfs, where there is nothing to flush
    std::filesystem::path finalPath_;
    std::filesystem::path workingPath_;
};

}  // namespace kyv::cipher
