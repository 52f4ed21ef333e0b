#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the program. Operator commands let it reach the
// command guard, which shows its text in a message box; unattended handlers
// (timers, start-up, camera opens) catch and drop it.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &text)
        : std::runtime_error(text.toStdString()), text_(text) {}

    QString text() const { return text_; }

private:
    QString text_;
};
