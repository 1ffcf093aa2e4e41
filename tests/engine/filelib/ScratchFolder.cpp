#include "ScratchFolder.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kyv::filelib::test {

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kyv-filelib-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    // Tests take permissions away from some entries; give them back so that everything can go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::Write(const std::string& name,
                                           const std::vector<unsigned char>& bytes) const
{
    const std::filesystem::path path = path_ / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path;
}

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::string& text) const
{
    return Write(name, std::vector<unsigned char>(text.begin(), text.end()));
}

std::vector<std::string> ScratchFolder::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<unsigned char> SeededRandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937_64 generator(seed);
    std::vector<unsigned char> bytes(count);
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint64_t word = generator();
        for (int k = 0; k < 8; ++k) {
            bytes[i + k] = static_cast<unsigned char>(word >> (8 * k));
        }
    }
    for (; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>(generator());
    }
    return bytes;
}

std::filesystem::path UnreadableFile(const ScratchFolder& folder)
{
    if (::geteuid() != 0) {
        const std::filesystem::path path = folder.Write("locked", std::string(1000, 'x'));
        std::filesystem::permissions(path, std::filesystem::perms::none);
        return path;
    }
    // Root reads every ordinary file; a write-only kernel attribute refuses even root.
    for (const char* candidate : {"/sys/bus/pci/rescan", "/proc/sysrq-trigger"}) {
        const int descriptor = ::open(candidate, O_RDONLY);
        if (descriptor >= 0) {
            ::close(descriptor);
            continue;
        }
        struct stat status {};
        if (::stat(candidate, &status) == 0 && S_ISREG(status.st_mode)) {
            return candidate;
        }
    }
    return {};
}

std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& scenario)
{
    if (::geteuid() != 0) {
        return scenario();
    }
    constexpr int kCannotDropRoot = 77;
    constexpr uid_t kNobody = 65534;
    int channel[2];
    if (::pipe(channel) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(kCannotDropRoot);
        }
        std::string outcome;
        try {
            outcome = scenario();
        } catch (const std::exception& error) {
            outcome = std::string("exception: ") + error.what();
        }
        const char* next = outcome.data();
        std::size_t left = outcome.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], next, left);
            if (written <= 0) {
                break;
            }
            next += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string outcome;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        outcome.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) {
        return "the scenario's process ended abnormally";
    }
    if (WEXITSTATUS(status) == kCannotDropRoot) {
        return std::nullopt;
    }
    return outcome;
}

std::filesystem::path OverlongPath(const ScratchFolder& folder)
{
    return folder.Path() / std::string(300, 'n') / std::string(5000, 'p');
}

}  // namespace kyv::filelib::test
