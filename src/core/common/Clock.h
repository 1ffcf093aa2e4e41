#pragma once

#include <QDateTime>

namespace kyv {

// The time of day, asked through an interface where elapsed time or the date matter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace kyv
