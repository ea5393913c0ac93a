#pragma once

#include <QDate>

namespace tov::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
};

class SystemClock final : public Clock {
public:
    QDate today() override { return QDate::currentDate(); }
};

} // namespace tov::platform
