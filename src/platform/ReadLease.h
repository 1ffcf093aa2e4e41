#pragma once
// A kernel read lease on a file open for reading only: it tells whether anybody has opened the
// file for writing, or cut it, since the lease was taken, which a file's times cannot tell when
// a rewrite at the same length falls within one tick of the clock that stamps them.
//
// Any other open for writing (our own process's too) or truncation breaks the lease. A handler
// gives a broken lease up at once, so the writer is not made to wait, and the kernel then
// reports the lease gone: the break is recorded in the lease itself, on whichever thread the
// signal lands.

namespace kyv::platform {

class ReadLease {
public:
    ReadLease() = default;
    // Takes a lease on `descriptor` (open read-only). None where the system grants none: the
    // file is open for writing already, it is not ours (and we may not lease others' files), or
    // its file system has no leases.
    explicit ReadLease(int descriptor);

    [[nodiscard]] bool Taken() const { return descriptor_ >= 0; }
    // Taken, and broken since.
    [[nodiscard]] bool Broken() const;
    // Gives the lease up, so that this program may open the file for writing without breaking it
    // (and waiting on itself); false when it had been broken.
    [[nodiscard]] bool Release();

private:
    int descriptor_ = -1;
};

}  // namespace kyv::platform
