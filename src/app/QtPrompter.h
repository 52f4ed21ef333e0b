#pragma once

#include "common/Prompter.h"

class QWidget;

// The real prompter: modal QMessageBox / QInputDialog over the given parent window.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    void message(const QString &text, const QString &caption, Icon icon) override;
    bool askYesNo(const QString &text, const QString &caption) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &initial) override;

private:
    QWidget *parent_;
};
