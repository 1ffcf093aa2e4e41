// Times the cipher engine on real files, for bench/cipher_compare.sh.
//
//   bench_cipher encrypt IN OUT          one file
//   bench_cipher decrypt IN OUT
//   bench_cipher encrypt-folder IN OUT   every file of folder IN into folder OUT, one run
//
// The 64-byte key is read from standard input (never from the command line) and wiped after use.
// Prints one line of key=value figures: the Argon2id derivation time, the time of the payload
// work after it and the processor time it took (all threads, user and system: on a busy machine
// the fairer figure), the number of derivations, and the peak resident memory during the payload
// work and over the whole run.

#include <sodium.h>

#include <sys/resource.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "engine/cipher/ChunkedCipherEngine.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long PeakResidentKib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Starts a new peak-memory measurement (Linux: writing 5 to clear_refs resets VmHWM).
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// User and system time of every thread of the process so far.
double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s encrypt|decrypt|encrypt-folder IN OUT  (key on standard input)\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const fs::path in = argv[2];
    const fs::path out = argv[3];
    if (sodium_init() < 0) {
        return 1;
    }
    unsigned char* key = static_cast<unsigned char*>(sodium_malloc(kyv::cipher::kKeyLength));
    if (key == nullptr || std::fread(key, 1, kyv::cipher::kKeyLength, stdin) != kyv::cipher::kKeyLength) {
        std::fprintf(stderr, "need %zu key bytes on standard input\n", kyv::cipher::kKeyLength);
        return 2;
    }
    const std::optional<kyv::cipher::Key> engineKey = kyv::cipher::Key::Copy({key, kyv::cipher::kKeyLength});
    sodium_free(key);
    const auto made = kyv::cipher::ChunkedCipherEngine::Make(kyv::cipher::DefaultKdfPolicy());
    if (!made || !engineKey) {
        return 1;
    }
    kyv::cipher::ChunkedCipherEngine& engine = *made;
    if (const char* threads = std::getenv("KYV_BENCH_THREADS")) {
        engine.SetMaxThreads(static_cast<unsigned>(std::atoi(threads)));
    }

    // The derivation is paid once per run; time it apart from the payload work. Encryption seals
    // a tiny file first (the run then reuses its salt); decryption opens the file's header alone,
    // which derives the key for the file's salt and stops at the size check.
    const fs::path probe = out.parent_path() / ".bench-probe";
    const fs::path probeOut = out.parent_path() / ".bench-probe.out";
    if (mode == "decrypt") {
        std::vector<char> header(67);
        std::ifstream(in, std::ios::binary).read(header.data(), static_cast<std::streamsize>(header.size()));
        std::ofstream(probe, std::ios::binary)
            .write(header.data(), static_cast<std::streamsize>(header.size()));
    } else {
        std::ofstream(probe) << "x";
    }
    auto start = Clock::now();
    const kyv::cipher::CipherResult probeCode = mode == "decrypt"
                                                    ? engine.Decrypt(*engineKey, probe, probeOut).result
                                                    : engine.Encrypt(*engineKey, probe, probeOut).result;
    const double deriveSeconds = Seconds(start);
    fs::remove(probe);
    fs::remove(probeOut);
    // A decryption probe (a bare header) ends as truncated once its key is derived.
    using kyv::cipher::CipherResult;
    if (probeCode != CipherResult::Success && probeCode != CipherResult::Truncated) {
        std::fprintf(stderr, "key derivation failed: %d\n", kyv::cipher::ResultNumber(probeCode));
        return 1;
    }

    const long derivationPeak = PeakResidentKib();
    ResetPeakResident();
    start = Clock::now();
    const double processorStart = ProcessorSeconds();
    kyv::cipher::CipherResult code = kyv::cipher::CipherResult::Success;
    std::uint64_t bytes = 0;
    int files = 0;
    if (mode == "encrypt" || mode == "decrypt") {
        bytes = fs::file_size(in);
        code = mode == "encrypt" ? engine.Encrypt(*engineKey, in, out).result
                                 : engine.Decrypt(*engineKey, in, out).result;
        files = 1;
    } else if (mode == "encrypt-folder") {
        fs::create_directories(out);
        for (const auto& entry : fs::directory_iterator(in)) {
            bytes += entry.file_size();
            code = engine.Encrypt(*engineKey, entry.path(), out / entry.path().filename()).result;
            ++files;
            if (code != kyv::cipher::CipherResult::Success) {
                break;
            }
        }
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    const double payloadSeconds = Seconds(start);
    const double payloadProcessorSeconds = ProcessorSeconds() - processorStart;
    const long payloadPeak = PeakResidentKib();
    const auto derivations = engine.DerivationCount();
    if (code != kyv::cipher::CipherResult::Success) {
        std::fprintf(stderr, "engine result %d\n", kyv::cipher::ResultNumber(code));
        return 1;
    }
    std::printf(
        "mode=%s files=%d bytes=%llu derive_s=%.3f payload_s=%.3f payload_cpu_s=%.3f derivations=%llu "
        "payload_peak_kib=%ld derivation_peak_kib=%ld\n",
        mode.c_str(), files, static_cast<unsigned long long>(bytes), deriveSeconds, payloadSeconds,
        payloadProcessorSeconds, static_cast<unsigned long long>(derivations), payloadPeak, derivationPeak);
    return 0;
}
