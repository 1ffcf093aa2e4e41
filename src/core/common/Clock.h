#pragma once

#include <QDateTime>
#include <chrono>

namespace kyv {

// The time of day, asked through an interface where elapsed time or the date matter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
    // For measuring how long something takes: never set back, unlike the time of day.
    virtual std::chrono::steady_clock::time_point SteadyNow() const
    {
        return std::chrono::steady_clock::now();
    }
};

class SystemClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace kyv
