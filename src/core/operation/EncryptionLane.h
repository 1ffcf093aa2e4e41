#pragma once
// Encrypts a folder's small files on a helper thread, ahead of the walk, so that one file's cipher
// work overlaps the next file's checks and the last file's report line.
//
// Work ahead stays private: each file is encrypted into a new working file of its own in the
// output folder (".kyvpart-" and 12 hex digits, as the engine names its own working files), and
// only the walk gives it the output's name, in order, after its stop and pause checks. Whatever
// the walk does not take (a stop, a pause that ends in a stop, a folder left on a failure) is
// removed when the lane ends, so nothing happens under an output's name that the report does not
// show. The lane runs at most kFilesAhead encryptions ahead of what the walk has taken.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "engine/cipher/CipherEngine.h"

namespace kyv {

class EncryptionLane {
public:
    // Files of at most this many bytes are worth the lane; a larger file keeps the engine busy long
    // enough, and the engine spreads it over the cores itself.
    static constexpr std::uint64_t kLargestFile = 1u << 20;
    static constexpr std::size_t kFilesAhead = 2;

    // A second core to run on: with one, the two sides would only take turns.
    [[nodiscard]] static bool Worthwhile();

    // Encrypts into `outputFolder`. While the lane lives, the engine serves no other caller;
    // `key` is kKeyLength bytes.
    EncryptionLane(cipher::CipherEngine& engine, const unsigned char* key, std::filesystem::path outputFolder);
    // Starts no further file, waits for the one under way and removes every result not taken.
    ~EncryptionLane();
    EncryptionLane(const EncryptionLane&) = delete;
    EncryptionLane& operator=(const EncryptionLane&) = delete;

    [[nodiscard]] bool HasRoom() const;
    [[nodiscard]] bool Empty() const;
    // Encrypts `input` (`length` bytes) into a working file of the output folder.
    void Add(std::filesystem::path input, std::uint64_t length);

    struct Result {
        cipher::CipherResult code = cipher::CipherResult::Success;
        std::uint64_t outputLength = 0;
        // Holds the result when code is Success; the caller moves or removes it.
        std::filesystem::path working;
        // What an exception of the engine said; empty when the engine returned.
        std::string failure;
    };
    // The oldest file's result, waiting until it is done.
    [[nodiscard]] Result TakeOldest();
    // Gives a result taken with code Success the output's name `output` in the output folder,
    // flushed there as the engine flushes its own outputs: 0, or the errno of the failure, after
    // which the result is gone.
    [[nodiscard]] int Commit(const Result& result, const std::filesystem::path& output) const;

private:
    struct Job {
        std::filesystem::path input;
        std::uint64_t length = 0;
        bool done = false;
        Result result;
    };

    // Waits, with the lock held, until `ready` holds: spinning a little before sleeping.
    template <typename Ready>
    void Await(std::unique_lock<std::mutex>& lock, Ready ready);
    // Wakes the other side; called with the lock held.
    void Changed();
    void Work();
    void Encrypt(Job& job);

    cipher::CipherEngine& engine_;
    const unsigned char* key_;
    const std::filesystem::path outputFolder_;
    // tmpfs and ramfs: nothing to flush (the engine skips its flushes there too).
    const bool outputInMemory_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<unsigned> changes_{0};  // counts every change, for a side that spins
    std::deque<Job> jobs_;       // oldest first; guarded by mutex_
    std::size_t started_ = 0;    // jobs_ begun by the helper; guarded by mutex_
    bool closing_ = false;       // guarded by mutex_
    std::thread helper_;
};

}  // namespace kyv
