#pragma once
// A file opened once for reading and known from then on by its descriptor: what it was when
// opened, what it is now, and a path through which any other reader reaches exactly this file
// (not whatever may take its name meanwhile).

#include <filesystem>

#include "platform/FileIdentity.h"

namespace kyv::platform {

class OpenedFile {
public:
    // Opens the entry `name` of the folder held open as `folderDescriptor` (or, when that is
    // negative, the path `fallback`); a fifo or device never blocks the open.
    OpenedFile(int folderDescriptor, const char* name, const std::filesystem::path& fallback);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    // The file as it was when opened; its error tells why it could not be opened.
    [[nodiscard]] const FileIdentity& AtOpen() const { return atOpen_; }
    // The same file as it is now.
    [[nodiscard]] FileIdentity Now() const;
    // A path that leads to the open file itself; the given path when the system offers none.
    [[nodiscard]] std::filesystem::path ReadPath() const { return readPath_; }

private:
    int descriptor_ = -1;
    FileIdentity atOpen_;
    std::filesystem::path readPath_;
};

}  // namespace kyv::platform
