#pragma once
// What one look at a file tells: whether it is there, whether it is a regular file, its length,
// and which file it is (two paths name the same file when device and file number agree). One
// look answers all the questions a run asks about a file.

#include <cstdint>
#include "platform/FilePath.h"

namespace kyv::platform {

struct FileIdentity {
    int error = 0;  // the system's error number when the file could not be looked at; 0 when seen
    bool regular = false;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t fileNumber = 0;
    // Last change of the data and of the file's entry (any write, link or permission change), in
    // nanoseconds: with the size they tell whether a file changed between two looks.
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    // Permission bits (read, write, execute for owner, group and others), owner and group.
    std::uint32_t permissions = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;

    [[nodiscard]] bool Seen() const { return error == 0; }
};

// Looks at `path`, following links.
[[nodiscard]] FileIdentity IdentifyFile(const FilePath& path);

// A folder held open, so that looking at its entries does not walk the folder's path each time.
class OpenFolder {
public:
    explicit OpenFolder(const FilePath& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // Looks at the entry `name`, following links; when the folder
    // could not be opened, at the path of folder and name, so that the answer is the same.
    [[nodiscard]] FileIdentity Identify(const FilePath& name) const;
    // The folder's descriptor, -1 when it could not be opened; and its path.
    [[nodiscard]] int Descriptor() const { return descriptor_; }
    [[nodiscard]] const FilePath& Path() const { return path_; }

private:
    FilePath path_;
    int descriptor_ = -1;
};

// Both were seen and are the same file.
[[nodiscard]] bool SameFile(const FileIdentity& first, const FileIdentity& second);

// The same file, and nothing written to it or changed about it between the two looks.
[[nodiscard]] bool Unchanged(const FileIdentity& before, const FileIdentity& now);

// The same file with the same data: length and last write agree (its entry may have changed, as
// when another of its names was removed).
[[nodiscard]] bool DataUnchanged(const FileIdentity& before, const FileIdentity& now);

// Looks at an open file.
[[nodiscard]] FileIdentity IdentifyDescriptor(int descriptor);

}  // namespace kyv::platform
