#pragma once
// Calls handed from one thread to another through Qt's event queue. Qt's libraries are not built
// with ThreadSanitizer, so a sanitizer build cannot see that what the sending thread wrote before
// the hand-off comes before the call on the receiving thread; these two mark the hand-off for it,
// and cost nothing in other builds. Every call or value that crosses threads goes through one of
// them, never through a queued signal or a bare QMetaObject::invokeMethod.

#include <QObject>
#include <functional>

namespace kyv {

// Queues `call` to run on the thread of `receiver`, after what was queued to it before; dropped if
// `receiver` is destroyed first.
void PostTo(QObject& receiver, std::function<void()> call);

// Runs `call` on the thread of `receiver` and returns when it has run; what `call` wrote is then
// seen by the caller. That thread must be handling events and must not be the calling thread.
void CallOn(QObject& receiver, const std::function<void()>& call);

}  // namespace kyv
