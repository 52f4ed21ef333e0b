#pragma once

#include "browser/DatePicker.h"

class Clock;
class QWidget;

// The program's date picker: a new TBrDateForm for each pick, shown modally
// over its owner and destroyed afterwards.
class DateFormPicker final : public DatePicker
{
public:
    DateFormPicker(const Clock &clock, QWidget *owner);
    std::optional<QDate> pickDate() override;

private:
    const Clock &clock_;
    QWidget *owner_;
};
