#pragma once

#include <QDate>

#include <chrono>

namespace tov::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
    // Milliseconds on a clock that only goes forward, for waits; not a time of day.
    virtual qint64 elapsedMs() = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() override { return QDate::currentDate(); }
    qint64 elapsedMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace tov::platform
