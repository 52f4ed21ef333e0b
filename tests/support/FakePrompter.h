#pragma once

#include "common/Prompter.h"

#include <QList>
#include <QString>

// Records every message box and answers questions from a script.
class FakePrompter final : public Prompter
{
public:
    struct Shown { QString text; QString caption; Icon icon; };

    void message(const QString &text, const QString &caption, Icon icon) override
    {
        shown.append({text, caption, icon});
    }
    bool askYesNo(const QString &text, const QString &caption) override
    {
        shown.append({text, caption, Icon::None});
        return yesAnswers.isEmpty() ? false : yesAnswers.takeFirst();
    }
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &) override
    {
        shown.append({prompt, caption, Icon::None});
        if (inputAnswers.isEmpty())
            return std::nullopt;
        return inputAnswers.takeFirst();
    }

    QList<Shown> shown;
    QList<bool> yesAnswers;
    QList<QString> inputAnswers;
};
