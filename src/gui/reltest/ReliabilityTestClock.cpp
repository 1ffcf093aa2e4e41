#include "gui/reltest/ReliabilityTestClock.h"

#include "core/common/OperationSetup.h"

namespace kyv::gui {

ReliabilityTestClock::ReliabilityTestClock(WorkingValues& values, QObject* parent)
    : QTimer(parent), values_(values)
{
    setObjectName(QStringLiteral("Clock"));
    setInterval(kFirstTickMilliseconds);
    connect(this, &QTimer::timeout, this, &ReliabilityTestClock::Tick);
}

void ReliabilityTestClock::Tick()
{
    setInterval(kNextTickMilliseconds);
    values_.generateNextKey = true;
}

void ReliabilityTestClock::StopTest()
{
    values_.generateNextKey = true;
    stop();
}

}  // namespace kyv::gui
