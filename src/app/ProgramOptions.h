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
    // The same, on the raw command line before Qt has taken its own options out
    // (-platform offscreen, -style fusion, ...), so errors are found before Qt starts.
    static ProgramOptions parseCommandLine(const QStringList &arguments);
    static QString helpText();
};
