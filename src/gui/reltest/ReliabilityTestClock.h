#pragma once
// The reliability test's slow timer (the main window's "Clock"): between two performances the test
// waits until the clock says the next one is due, by a tick or by Stop in the report window.
// Stopped at first; the test starts it. The first tick comes after 5 s, the later ones every 4 s.

#include <QTimer>

namespace kyv::gui {

class ReliabilityTestClock final : public QTimer {
    Q_OBJECT
public:
    static constexpr int kFirstTickMilliseconds = 5000;
    static constexpr int kNextTickMilliseconds = 4000;

    explicit ReliabilityTestClock(QObject* parent);

    // A tick: the waiting test goes on; later ticks come sooner.
    void Tick();
    // Stop in the report window: the waiting test wakes up and the timer stops.
    void StopTest();

signals:
    void NextPerformanceDue();
};

}  // namespace kyv::gui
