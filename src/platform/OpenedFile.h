#pragma once
// A file opened once for reading and known from then on by its descriptor: what it was when
// opened, what it is now, and a path through which any other reader reaches exactly this file
// (not whatever may take its name meanwhile).

#include <filesystem>

#include "platform/FileIdentity.h"
#include "platform/ReadLease.h"

namespace kyv::platform {

class OpenedFile {
public:
    // Opens the entry `name` of the folder held open as `folderDescriptor` (or, when that is
    // negative, the path `fallback`); a fifo or device never blocks the open.
    OpenedFile(int folderDescriptor, const FilePath& name, const FilePath& fallback);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    // The file as it was when opened; its error tells why it could not be opened.
    [[nodiscard]] const FileIdentity& AtOpen() const { return atOpen_; }
    // The same file as it is now.
    [[nodiscard]] FileIdentity Now() const;
    // A path that leads to the open file itself; the given path when the system offers none.
    [[nodiscard]] std::filesystem::path ReadPath() const { return readPath_; }

    // Nothing was written to the file since it was opened, as far as can be told: the same file,
    // length and last write and, where the system granted a lease on it, nobody opened it for
    // writing or cut it (the times miss a rewrite at the same length within one clock tick).
    [[nodiscard]] bool DataUnchanged() const;
    // As DataUnchanged, and its entry (links, permissions) unchanged too.
    [[nodiscard]] bool Unchanged() const;
    // Gives up the lease, which this program's own opening of the file for writing would break;
    // false when the lease had been broken already.
    [[nodiscard]] bool ReleaseLease() { return lease_.Release(); }
    [[nodiscard]] bool Leased() const { return lease_.Taken(); }

private:
    int descriptor_ = -1;
    FileIdentity atOpen_;
    std::filesystem::path readPath_;
    ReadLease lease_;
};

}  // namespace kyv::platform
