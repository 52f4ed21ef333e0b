#include "app/QtPrompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQtIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Critical: return QMessageBox::Critical;
    case Prompter::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtPrompter::message(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(toQtIcon(icon), caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompter::askYesNo(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtPrompter::input(const QString &caption, const QString &prompt,
                                         const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}
