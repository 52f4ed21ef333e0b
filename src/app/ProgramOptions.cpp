#include "app/ProgramOptions.h"

ProgramOptions ProgramOptions::parse(const QStringList &arguments)
{
    ProgramOptions options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.showHelp = true;
        } else if (argument == "--virtual-cameras" || argument.startsWith("--virtual-cameras=")) {
            QString value;
            if (argument.contains('=')) {
                value = argument.section('=', 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                options.error = QStringLiteral("--virtual-cameras needs a number from 1 to 4");
                return options;
            }
            bool ok = false;
            const int count = value.toInt(&ok);
            if (!ok || count < 1 || count > 4) {
                options.error = QStringLiteral("--virtual-cameras needs a number from 1 to 4, not \"%1\"").arg(value);
                return options;
            }
            options.virtualCameras = count;
        } else {
            options.error = QStringLiteral("unknown option \"%1\" (try --help)").arg(argument);
            return options;
        }
    }
    return options;
}

ProgramOptions ProgramOptions::parseCommandLine(const QStringList &arguments)
{
    // Qt's own options that take a value; the others are single words.
    static const QStringList qtOptionsWithValue = {
        "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-geometry",
        "-qwindowtitle", "-title", "-qwindowicon", "-icon", "-display", "-session", "-style", "-stylesheet"};
    static const QStringList qtWords = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    QStringList ours;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (qtOptionsWithValue.contains(argument)) {
            ++i;
        } else if (qtWords.contains(argument) || argument.startsWith("-qmljsdebugger=")
                   || argument.startsWith("-style=") || argument.startsWith("-stylesheet=")) {
            // taken by Qt
        } else {
            ours << argument;
        }
    }
    return parse(ours);
}

QString ProgramOptions::helpText()
{
    return QStringLiteral(
        "Usage: Kamvist [--virtual-cameras N] [Qt options]\n"
        "Video surveillance for one to four USB cameras: live view, continuous recording,\n"
        "a catalogue of the recordings, snapshots.\n"
        "\n"
        "  --virtual-cameras N   add N test-pattern cameras (1 to 4) after the real ones\n"
        "  --help                show this text\n"
        "\n"
        "Settings are kept in Kamvist.ini beside the program; the catalogue is dat/dzxcb.db.\n");
}
