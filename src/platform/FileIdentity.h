#pragma once
// What one look at a file tells: whether it is there, whether it is a regular file, its length,
// and which file it is (two paths name the same file when device and file number agree). One
// look answers all the questions a run asks about a file.

#include <cstdint>
#include <filesystem>

namespace kyv::platform {

struct FileIdentity {
    int error = 0;  // the system's error number when the file could not be looked at; 0 when seen
    bool regular = false;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t fileNumber = 0;

    [[nodiscard]] bool Seen() const { return error == 0; }
};

// Looks at `path`, following links.
[[nodiscard]] FileIdentity IdentifyFile(const std::filesystem::path& path);

// A folder held open, so that looking at its entries does not walk the folder's path each time.
class OpenFolder {
public:
    explicit OpenFolder(const std::filesystem::path& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // Looks at the entry `name` (in the file system's encoding), following links; when the folder
    // could not be opened, at the path of folder and name, so that the answer is the same.
    [[nodiscard]] FileIdentity Identify(const char* name) const;

private:
    std::filesystem::path path_;
    int descriptor_ = -1;
};

// Both were seen and are the same file.
[[nodiscard]] bool SameFile(const FileIdentity& first, const FileIdentity& second);

}  // namespace kyv::platform
