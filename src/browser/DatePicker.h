#pragma once

#include <QDate>

#include <optional>

// Seam for the date picker the ">>>" buttons open: a picked day, or nothing
// when the operator closed it without OK. The program shows TBrDateForm.
class DatePicker
{
public:
    virtual ~DatePicker() = default;
    virtual std::optional<QDate> pickDate() = 0;
};
