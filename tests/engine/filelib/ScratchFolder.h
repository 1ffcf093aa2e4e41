#pragma once
// A fresh folder under the system's temporary folder for one test, removed with everything in it.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kyv::filelib::test {

class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes `bytes` into a new file of that name and returns its path.
    std::filesystem::path Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
    std::filesystem::path Write(const std::string& name, const std::string& text) const;

    // Names of everything in the folder, sorted.
    [[nodiscard]] std::vector<std::string> Names() const;

private:
    std::filesystem::path path_;
};

// Bytes of a file, or empty when it cannot be read.
[[nodiscard]] std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);

// `count` bytes from a seeded generator, the same for the same seed on every machine.
[[nodiscard]] std::vector<unsigned char> SeededRandomBytes(std::size_t count, unsigned seed);

// A path this process can open but not read; empty when the machine offers none (running as root
// without a write-only system file).
[[nodiscard]] std::filesystem::path UnreadableFile(const ScratchFolder& folder);

// Runs `scenario` as an ordinary user, so that permissions hold even when the tests run as root:
// directly when not root, otherwise in a child process that gives root up first. Returns what the
// scenario returned (empty when all held, else what went wrong), or nothing when root could not be
// given up.
[[nodiscard]] std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& scenario);

// A path longer than the system accepts.
[[nodiscard]] std::filesystem::path OverlongPath(const ScratchFolder& folder);

}  // namespace kyv::filelib::test
