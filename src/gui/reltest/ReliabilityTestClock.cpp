#include "gui/reltest/ReliabilityTestClock.h"

namespace kyv::gui {

ReliabilityTestClock::ReliabilityTestClock(QObject* parent) : QTimer(parent)
{
    setObjectName(QStringLiteral("Clock"));
    setInterval(kFirstTickMilliseconds);
    connect(this, &QTimer::timeout, this, &ReliabilityTestClock::Tick);
}

void ReliabilityTestClock::Tick()
{
    setInterval(kNextTickMilliseconds);
    emit NextPerformanceDue();
}

void ReliabilityTestClock::StopTest()
{
    stop();
    emit NextPerformanceDue();
}

}  // namespace kyv::gui
