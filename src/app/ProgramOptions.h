#pragma once

#include <QString>
#include <QStringList>

// The program's own command-line options (Qt takes its own, such as -platform, first).
struct ProgramOptions
{
    int virtualCameras = 0; // 0 to 4; 0 means none
    bool showHelp = false;
    QString error;          // non-empty: a one-line reason; the program exits with code 2

    static ProgramOptions parse(const QStringList &arguments); // arguments without the program name
    static QString helpText();
};
