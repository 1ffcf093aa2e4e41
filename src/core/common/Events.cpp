#include "core/common/Events.h"

#include <QCoreApplication>
#include <chrono>

namespace kyv {

namespace {

// A look at the window system costs microseconds even when nothing is pending, and loops over
// thousands of small files ask for one per file. Looking at most every 10 ms keeps clicks and
// repaints just as prompt to the eye.
constexpr std::chrono::milliseconds kLookInterval{10};

std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void ProcessPendingEvents()
{
    if (Handler()) {
        Handler()();
        return;
    }
    if (QCoreApplication::instance() == nullptr) return;
    using Clock = std::chrono::steady_clock;
    static Clock::time_point lastLook;
    const Clock::time_point now = Clock::now();
    if (now - lastLook < kLookInterval) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastLook = Clock::now();
}

void SetPendingEventsHandler(std::function<void()> handler) { Handler() = std::move(handler); }

}  // namespace kyv
