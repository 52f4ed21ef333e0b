#pragma once

#include "browser/DatePicker.h"

// A date picker that hands back what the test set, and counts its uses.
class FakeDatePicker final : public DatePicker
{
public:
    std::optional<QDate> pickDate() override
    {
        ++shown;
        return answer;
    }
    std::optional<QDate> answer;
    int shown = 0;
};
