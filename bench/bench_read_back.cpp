// What reading back and authenticating an in-place encryption's result costs, against the rest of
// the file's in-place work: the encryption (written and flushed) and the purge of the original.
//
//   build/bin/bench_read_back [FOLDER] [MIB]      (default: /tmp, 1024)
//
// On a disk the read-back comes from the device (the result's cached pages are dropped first); on
// tmpfs it comes from memory.

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/cipher/CipherEngine.h"
#include "engine/filelib/Purge.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void WriteInput(const fs::path& path, std::size_t mib)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> block(1 << 20);
    std::mt19937 random(7);
    for (char& byte : block) byte = static_cast<char>('a' + random() % 26);
    for (std::size_t i = 0; i < mib; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path folder = argc > 1 ? argv[1] : "/tmp";
    const std::size_t mib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1024;
    const fs::path input = folder / "bench_read_back.txt";
    const fs::path result = folder / "bench_read_back.txt1";
    std::array<unsigned char, kyv::cipher::kKeyLength> keyBytes{};
    keyBytes.fill('K');
    const std::optional<kyv::cipher::Key> key = kyv::cipher::Key::Copy(keyBytes);
    const auto engine = kyv::cipher::MakeCipherEngine();
    if (!engine || !key) return 1;

    for (int round = 1; round <= 3; ++round) {
        WriteInput(input, mib);
        ::sync();
        fs::remove(result);
        auto start = Clock::now();
        if (!engine->Encrypt(*key, input, result).Succeeded()) return 1;
        const double encrypt = Seconds(start);
        start = Clock::now();
        if (!engine->Verify(*key, result).Succeeded()) return 1;
        const double verify = Seconds(start);
        start = Clock::now();
        (void)kyv::filelib::PurgeFile(input, kyv::filelib::kPurgeAfterEncryption, false, -1);
        const double purge = Seconds(start);
        const double run = encrypt + verify + purge;
        std::printf(
            "%zu MiB in %s, round %d: encrypt %.2f s, read-back %.2f s, purge %.2f s: read-back %.1f %% "
            "of the run (%.2f s)\n",
            mib, folder.c_str(), round, encrypt, verify, purge, 100.0 * verify / run, run);
        std::fflush(stdout);
    }
    fs::remove(result);
    return 0;
}
