#pragma once

#include "common/AppError.h"
#include "common/Prompter.h"

#include <QCoreApplication>
#include <exception>
#include <utility>

// Runs one operator command. An exception that leaves the command is shown in a
// critical message box with its text; the command ends and the program goes on.
// (Qt does not let exceptions cross its event handlers, so every click goes through here.)
template <typename Command>
void runGuarded(Prompter &prompter, Command &&command)
{
    QString failure;
    try {
        std::forward<Command>(command)();
        return;
    } catch (const AppError &e) {
        failure = e.text();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("未知错误");
    }
    prompter.message(failure, QCoreApplication::applicationName(), Prompter::Icon::Critical);
}

// Runs an unattended step (timer, start-up, camera open) whose failure is dropped.
template <typename Step>
bool runQuietly(Step &&step)
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}
