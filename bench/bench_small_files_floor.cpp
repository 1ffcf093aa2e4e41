// What many small files cost at the least, before any encryption: the system calls a run makes for
// each file to keep it safe, against those of a plain copy, timed in the same process.
//
//   build/bin/bench_small_files_floor [folder] [files] [rounds]   (default /dev/shm 10000 7)
//
// "copy" does per file what `cp -r` does: open, look, create, read, write, close. "safe" adds what
// a run of kyv adds for each file, with no cipher and no report text: the size pass before the run,
// a read lease and the input's identity, the look-up of the output's name, a random draw, the
// result made under a working name and renamed when complete, the check that the input did not
// change, and a report line (to /dev/null). "safe x2" splits the files between two threads, as a
// run working on two files at once would. Each round runs every variant once, in turn; medians are
// printed, with the ratio to "copy".

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Median.h"
#include "engine/cipher/FileFormat.h"

namespace {

constexpr std::size_t kFileSize = 4096;
constexpr std::size_t kSealedSize =
    kyv::cipher::format::kHeaderSize + kFileSize + kyv::cipher::format::kTagSize;

struct Folders {
    int input = -1;
    int output = -1;
    int report = -1;
};

bool Copy(const Folders& folders, const std::string& name)
{
    char data[2 * kFileSize];
    const int in = ::openat(folders.input, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat status {};
    ::fstat(in, &status);
    const int out = ::openat(folders.output, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const ssize_t got = ::read(in, data, sizeof data);
    const bool written = out >= 0 && got > 0 && ::write(out, data, static_cast<std::size_t>(got)) == got;
    if (out >= 0) ::close(out);
    ::close(in);
    return written;
}

bool SafeCopy(const Folders& folders, const std::string& name)
{
    char data[2 * kFileSize];
    const int in = ::openat(folders.input, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (in < 0) return false;
    ::fcntl(in, F_SETSIG, SIGRTMIN);
    ::fcntl(in, F_SETLEASE, F_RDLCK);
    struct stat atOpen {};
    ::fstat(in, &atOpen);
    const std::string outputName = name + ".kyv";
    struct stat existing {};
    ::fstatat(folders.output, outputName.c_str(), &existing, AT_SYMLINK_NOFOLLOW);
    unsigned char nonce[kyv::cipher::format::kFileNonceSize];
    ::getrandom(nonce, sizeof nonce, 0);
    const std::string working = outputName + ".kyvpart-0123456789ab";
    const int out = ::openat(folders.output, working.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const ssize_t got = ::pread(in, data, sizeof data, 0);
    bool done =
        out >= 0 && got > 0 && ::pwrite(out, data, kSealedSize, 0) == static_cast<ssize_t>(kSealedSize);
    if (out >= 0) ::close(out);
    done = done && ::renameat(folders.output, working.c_str(), folders.output, outputName.c_str()) == 0;
    struct stat now {};
    ::fstat(in, &now);
    // Where no lease was granted (a file system without them), the times alone tell, as in a run.
    ::fcntl(in, F_GETLEASE);
    done = done && now.st_mtim.tv_nsec == atOpen.st_mtim.tv_nsec && now.st_size == atOpen.st_size;
    const std::string line = name + "  4.0 KB  done\n";
    done = done && ::write(folders.report, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(in);
    return done;
}

void SizePass(const Folders& folders, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        struct stat status {};
        ::fstatat(folders.input, name.c_str(), &status, AT_SYMLINK_NOFOLLOW);
    }
}

std::vector<std::string> ListNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path base = argc > 1 ? argv[1] : "/dev/shm";
    const int files = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 7;
    // A broken lease is given up at once, as the program does; no one breaks these.
    ::signal(SIGRTMIN, [](int) {});

    std::string pattern = (base / "kyv-floor.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path work = pattern;
    std::filesystem::create_directory(work / "in");
    std::vector<char> bytes(kFileSize);
    for (int n = 0; n < files; ++n) {
        ::getrandom(bytes.data(), bytes.size(), 0);
        const std::string path = (work / "in" / ("f" + std::to_string(n) + ".dat")).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            std::perror(path.c_str());
            return 1;
        }
        ::close(fd);
    }
    const std::vector<std::string> names = ListNames(work / "in");

    using Clock = std::chrono::steady_clock;
    struct Variant {
        const char* name;
        int threads;
        bool safe;
        std::vector<double> seconds;
    };
    std::vector<Variant> variants{{"copy", 1, false, {}}, {"safe", 1, true, {}}, {"safe x2", 2, true, {}}};
    bool allDone = true;
    for (int round = 0; round < rounds; ++round) {
        for (Variant& variant : variants) {
            const std::filesystem::path out = work / "out";
            std::filesystem::remove_all(out);
            std::filesystem::create_directory(out);
            Folders folders;
            folders.input = ::open((work / "in").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            folders.output = ::open(out.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            folders.report = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
            const auto start = Clock::now();
            if (variant.safe) SizePass(folders, names);
            std::vector<int> failures(static_cast<std::size_t>(variant.threads), 0);
            auto part = [&](int first) {
                for (std::size_t n = static_cast<std::size_t>(first); n < names.size();
                     n += static_cast<std::size_t>(variant.threads)) {
                    const bool done = variant.safe ? SafeCopy(folders, names[n]) : Copy(folders, names[n]);
                    if (!done) ++failures[static_cast<std::size_t>(first)];
                }
            };
            std::vector<std::thread> helpers;
            for (int t = 1; t < variant.threads; ++t) helpers.emplace_back(part, t);
            part(0);
            for (std::thread& helper : helpers) helper.join();
            variant.seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            for (int failed : failures) allDone = allDone && failed == 0;
            ::close(folders.input);
            ::close(folders.output);
            ::close(folders.report);
        }
    }
    std::filesystem::remove_all(work);
    if (!allDone) {
        std::fprintf(stderr, "some files failed; the figures do not count\n");
        return 1;
    }

    std::printf("%u cores; %d files of %zu bytes in %s; medians of %d rounds\n",
                std::thread::hardware_concurrency(), files, kFileSize, base.c_str(), rounds);
    const double copy = Median(variants.front().seconds);
    for (const Variant& variant : variants) {
        const double median = Median(variant.seconds);
        std::printf("%-8s %.3f s  %.2f x copy  %.1f us a file\n", variant.name, median, median / copy,
                    median * 1e6 / files);
    }
    return 0;
}
