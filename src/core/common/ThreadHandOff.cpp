#include "core/common/ThreadHandOff.h"

#include <memory>

#if defined(__SANITIZE_THREAD__)
#define KYV_MARK_HAND_OFFS 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KYV_MARK_HAND_OFFS 1
#endif
#endif

#ifdef KYV_MARK_HAND_OFFS
#include <sanitizer/tsan_interface.h>
// In the sanitizer's runtime, not in its header.
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace kyv {

namespace {

// What a thread did before Release(token) happens, for the sanitizer, before what another thread
// does after Acquire(token).
void Release([[maybe_unused]] const void* token)
{
#ifdef KYV_MARK_HAND_OFFS
    __tsan_release(const_cast<void*>(token));
#endif
}

void Acquire([[maybe_unused]] const void* token)
{
#ifdef KYV_MARK_HAND_OFFS
    __tsan_acquire(const_cast<void*>(token));
#endif
}

// Qt writes the queued call (the object holding what the lambda captured, and its event) inside
// invokeMethod, after the sending thread's Release, and frees it on the receiving thread; the
// sanitizer cannot see Qt's queue in between. The sending thread's own accesses while it queues
// are not recorded, so only what it wrote before Release counts, and that is acquired.
template <typename Queue>
void Unrecorded(Queue queue)
{
#ifdef KYV_MARK_HAND_OFFS
    __tsan_ignore_thread_begin();
#endif
    queue();
#ifdef KYV_MARK_HAND_OFFS
    __tsan_ignore_thread_end();
#endif
}

using Call = std::function<void()>;

}  // namespace

void PostTo(QObject& receiver, Call call)
{
    // The receiving thread also frees the call (and what it captured), or Qt does when the receiver
    // goes first; either way only after the hand-off is seen.
    auto deleter = [](Call* handed) {
        Acquire(handed);
        delete handed;
    };
    std::shared_ptr<Call> handed(new Call(std::move(call)), deleter);
    Release(handed.get());
    auto queued = [handed = std::move(handed)] {
        Acquire(handed.get());
        (*handed)();
    };
    Unrecorded([&] { QMetaObject::invokeMethod(&receiver, std::move(queued), Qt::QueuedConnection); });
}

void CallOn(QObject& receiver, const Call& call)
{
    const int token = 0;
    Release(&token);
    Unrecorded([&] {
        QMetaObject::invokeMethod(
            &receiver,
            [&call, &token] {
                Acquire(&token);
                call();
                Release(&token);
            },
            Qt::BlockingQueuedConnection);
    });
    Acquire(&token);
}

}  // namespace kyv
