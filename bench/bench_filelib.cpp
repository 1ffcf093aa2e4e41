// Speed of the file library: the randomness measure in memory and on a warm file, 256-byte samples,
// file comparison and purging. bench/filelib_compare.sh runs the same entries beside ent, cmp and shred.
//
//   bench_filelib [folder] [MiB]        all figures, on a file of MiB (default 512) in folder (default /tmp)
//   bench_filelib measure FILE          randomness of FILE and the time taken
//   bench_filelib compare FIRST SECOND  comparison result and the time taken
//   bench_filelib purge FILE MODE       purge result and the time taken

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/filelib/FileCompare.h"
#include "engine/filelib/Purge.h"
#include "engine/filelib/Randomness.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace filelib = kyv::filelib;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename Work>
double BestSeconds(int repeats, Work work)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

std::vector<unsigned char> RandomBytes(std::size_t count)
{
    std::mt19937_64 generator(1);
    std::vector<unsigned char> bytes(count);
    for (std::size_t i = 0; i + 8 <= count; i += 8) {
        const std::uint64_t word = generator();
        std::memcpy(bytes.data() + i, &word, 8);
    }
    return bytes;
}

double MegabytesPerSecond(double bytes, double seconds) { return bytes / seconds / 1e6; }

void InMemoryFigures()
{
    const std::size_t size = std::size_t{256} << 20;
    const auto random = RandomBytes(size);
    double measure = 0;
    double seconds = BestSeconds(3, [&] { measure = filelib::RandomnessMeasure(random.data(), size, 0); });
    std::printf("measure, 256 MiB random in memory: %.4f, %.3f s, %.0f MB/s\n", measure, seconds,
                MegabytesPerSecond(size, seconds));
    const std::vector<unsigned char> zeros(size, 0);
    seconds = BestSeconds(3, [&] { measure = filelib::RandomnessMeasure(zeros.data(), size, 0); });
    std::printf("measure, 256 MiB of zeros in memory: %.4f, %.3f s, %.0f MB/s\n", measure, seconds,
                MegabytesPerSecond(size, seconds));

    const int samples = 100000;
    double lowest = 1.0;
    const auto start = Clock::now();
    for (int i = 0; i < samples; ++i) {
        const unsigned char* sample = random.data() + 256 * static_cast<std::size_t>(i);
        lowest = std::min(lowest, filelib::RandomnessMeasure(sample, 256, 256));
    }
    seconds = SecondsSince(start);
    std::printf("measure, %d random samples of 256 bytes: lowest %.4f, %.2f us each\n", samples, lowest,
                seconds / samples * 1e6);
}

void FileFigures(const std::filesystem::path& folder, std::size_t mebibytes)
{
    // A file of random blocks, none repeating.
    const std::filesystem::path first = folder / "kyv-bench-first.bin";
    {
        std::ofstream out(first, std::ios::binary | std::ios::trunc);
        std::vector<unsigned char> current(std::size_t{1} << 20);
        std::mt19937_64 generator(2);
        for (std::size_t i = 0; i < mebibytes; ++i) {
            for (std::size_t k = 0; k + 8 <= current.size(); k += 8) {
                const std::uint64_t word = generator();
                std::memcpy(current.data() + k, &word, 8);
            }
            out.write(reinterpret_cast<const char*>(current.data()),
                      static_cast<std::streamsize>(current.size()));
        }
    }
    const std::filesystem::path second = folder / "kyv-bench-second.bin";
    std::filesystem::copy_file(first, second, std::filesystem::copy_options::overwrite_existing);
    const double bytes = static_cast<double>(mebibytes) * (1 << 20);

    double measure = filelib::FileRandomness(first, 256);  // warms the cache
    double seconds = BestSeconds(3, [&] { measure = filelib::FileRandomness(first, 256); });
    std::printf("measure, warm %zu MiB file: %.4f, %.3f s, %.0f MB/s\n", mebibytes, measure, seconds,
                MegabytesPerSecond(bytes, seconds));

    std::int64_t result = 0;
    seconds = BestSeconds(3, [&] { result = filelib::CompareFiles(first, second).Number(); });
    std::printf("compare, two warm %zu MiB files: %lld, %.3f s, %.0f MB/s\n", mebibytes,
                static_cast<long long>(result), seconds, MegabytesPerSecond(2 * bytes, seconds));

    for (const int mode : {filelib::kPurgeAfterEncryption, filelib::kPurgeAfterDecryption}) {
        const std::filesystem::path victim = folder / "kyv-bench-purge.bin";
        std::filesystem::copy_file(first, victim, std::filesystem::copy_options::overwrite_existing);
        const auto start = Clock::now();
        const int purge = static_cast<int>(filelib::PurgeFile(victim, mode, false, -1));
        seconds = SecondsSince(start);
        std::printf("purge, mode %d, %zu MiB file: %d, %.3f s, %.0f MB/s\n", mode, mebibytes, purge, seconds,
                    MegabytesPerSecond(bytes, seconds));
    }
    std::filesystem::remove(first);
    std::filesystem::remove(second);
}

int Single(int argc, char** argv)
{
    const std::string command = argv[1];
    const auto start = Clock::now();
    if (command == "measure" && argc == 3) {
        const double measure = filelib::FileRandomness(argv[2], 256);
        std::printf("%.6f %.3f\n", measure, SecondsSince(start));
    } else if (command == "compare" && argc == 4) {
        const std::int64_t result = filelib::CompareFiles(argv[2], argv[3]).Number();
        std::printf("%lld %.3f\n", static_cast<long long>(result), SecondsSince(start));
    } else if (command == "purge" && argc == 4) {
        const int result = static_cast<int>(filelib::PurgeFile(argv[2], std::atoi(argv[3]), false, -1));
        std::printf("%d %.3f\n", result, SecondsSince(start));
    } else {
        std::fprintf(stderr,
                     "usage: bench_filelib [folder] [MiB] | measure FILE | compare A B | purge FILE MODE\n");
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "measure") == 0 || std::strcmp(argv[1], "compare") == 0 ||
                      std::strcmp(argv[1], "purge") == 0)) {
        return Single(argc, argv);
    }
    const std::filesystem::path folder = argc >= 2 ? argv[1] : "/tmp";
    const std::size_t mebibytes = argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : 512;
    InMemoryFigures();
    FileFigures(folder, mebibytes);
    return 0;
}
