#include "core/common/Events.h"

#include <QCoreApplication>

namespace kyv {

namespace {
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
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SetPendingEventsHandler(std::function<void()> handler) { Handler() = std::move(handler); }

}  // namespace kyv
