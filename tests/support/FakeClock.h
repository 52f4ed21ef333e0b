#pragma once

#include "common/Clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2024, 3, 12), QTime(8, 30, 5)))
        : moment(start) {}
    QDateTime now() const override { return moment; }
    QDateTime moment;
};
