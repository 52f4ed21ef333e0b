#include "browser/ui/DateFormPicker.h"

#include "browser/ui/TBrDateForm.h"

DateFormPicker::DateFormPicker(const Clock &clock, QWidget *owner)
    : clock_(clock), owner_(owner)
{
}

std::optional<QDate> DateFormPicker::pickDate()
{
    TBrDateForm form(clock_, owner_);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.chosenDate();
}
