#pragma once

#include <QDateTime>

// Seam for the local wall clock, so that file names, catalogue rows and the
// frame time stamp can be tested at chosen moments (midnight, say).
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
