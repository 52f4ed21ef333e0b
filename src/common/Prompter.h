#pragma once

#include <QString>
#include <optional>

// Every message box and input box of the program goes through this seam, so that
// tests can script the answers and read back every text and caption shown.
class Prompter
{
public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Prompter() = default;

    // A message box with one OK button.
    virtual void message(const QString &text, const QString &caption, Icon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const QString &text, const QString &caption) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &initial) = 0;
};
