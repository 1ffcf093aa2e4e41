#include "core/operation/EncryptionLane.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/random.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <exception>

namespace kyv {

namespace {

// A name no walk gives an output: the engine's mark for a working file, then 12 random hex digits.
std::filesystem::path WorkingName(const std::filesystem::path& folder)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    unsigned char bytes[6] = {};
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t now = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (now > 0) got += static_cast<std::size_t>(now);
    }
    std::string name = ".kyvpart-";
    for (const unsigned char byte : bytes) {
        name += kDigits[byte >> 4];
        name += kDigits[byte & 15];
    }
    return folder / name;
}

bool InMemory(const std::filesystem::path& folder)
{
    struct statfs status {};
    if (::statfs(folder.c_str(), &status) != 0) return false;
    return status.f_type == static_cast<decltype(status.f_type)>(TMPFS_MAGIC) ||
           status.f_type == static_cast<decltype(status.f_type)>(RAMFS_MAGIC);
}

// 0 or the errno of the failed flush; a file system that cannot flush a folder is taken at its word.
int FlushFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
    ::close(fd);
    return error;
}

// How long a side waiting for the other spins before it sleeps. A file of the lane takes some tens of
// microseconds; waking a sleeping thread costs about as much, and would come once per file.
constexpr std::chrono::microseconds kSpinFor{100};

void SpinPause()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

}  // namespace

template <typename Ready>
void EncryptionLane::Await(std::unique_lock<std::mutex>& lock, Ready ready)
{
    const auto until = std::chrono::steady_clock::now() + kSpinFor;
    while (!ready() && std::chrono::steady_clock::now() < until) {
        const unsigned seen = changes_.load(std::memory_order_acquire);
        lock.unlock();
        for (int i = 0; i < 64 && changes_.load(std::memory_order_acquire) == seen; ++i) SpinPause();
        lock.lock();
    }
    changed_.wait(lock, ready);
}

void EncryptionLane::Changed()
{
    changes_.fetch_add(1, std::memory_order_release);
    changed_.notify_all();
}

bool EncryptionLane::Worthwhile() { return std::thread::hardware_concurrency() >= 2; }

EncryptionLane::EncryptionLane(cipher::CipherEngine& engine, const unsigned char* key,
                               std::filesystem::path outputFolder)
    : engine_(engine),
      key_(key),
      outputFolder_(std::move(outputFolder)),
      outputInMemory_(InMemory(outputFolder_)),
      helper_([this] { Work(); })
{
}

EncryptionLane::~EncryptionLane()
{
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        Changed();
    }
    helper_.join();
    for (const Job& job : jobs_) {
        if (job.done && !job.result.working.empty()) ::unlink(job.result.working.c_str());
    }
}

bool EncryptionLane::HasRoom() const
{
    const std::lock_guard lock(mutex_);
    return jobs_.size() < kFilesAhead;
}

bool EncryptionLane::Empty() const
{
    const std::lock_guard lock(mutex_);
    return jobs_.empty();
}

void EncryptionLane::Add(std::filesystem::path input, std::uint64_t length)
{
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(Job{std::move(input), length, false, Result{}});
        Changed();
    }
}

EncryptionLane::Result EncryptionLane::TakeOldest()
{
    std::unique_lock lock(mutex_);
    Await(lock, [this] { return jobs_.front().done; });
    Result result = std::move(jobs_.front().result);
    jobs_.pop_front();
    --started_;
    return result;
}

int EncryptionLane::Commit(const Result& result, const std::filesystem::path& output) const
{
    if (::rename(result.working.c_str(), output.c_str()) != 0) {
        const int error = errno;
        ::unlink(result.working.c_str());
        return error;
    }
    // As the engine does: an output whose name may not survive a crash is not reported done.
    const int error = outputInMemory_ ? 0 : FlushFolder(outputFolder_);
    if (error != 0) ::unlink(output.c_str());
    return error;
}

void EncryptionLane::Work()
{
    std::unique_lock lock(mutex_);
    while (true) {
        Await(lock, [this] { return closing_ || started_ < jobs_.size(); });
        if (closing_) return;
        // Elements of a deque stay where they are while others are added or taken.
        Job& job = jobs_[started_++];
        lock.unlock();
        Encrypt(job);
        lock.lock();
        job.done = true;
        Changed();
    }
}

void EncryptionLane::Encrypt(Job& job)
{
    Result& result = job.result;
    const std::filesystem::path working = WorkingName(outputFolder_);
    try {
        engine_.OperationInitialization(key_, cipher::kKeyLength, true, job.length);
        result.code = engine_.EncryptFile(job.input, working);
        if (result.code == cipher::CipherResult::Success) {
            result.working = working;
            result.outputLength = engine_.OutputLength();
        }
    } catch (const std::exception& failure) {
        result.failure = failure.what();
        if (result.failure.empty()) result.failure = "The cipher engine failed.";
    }
}

}  // namespace kyv
