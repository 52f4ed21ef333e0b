// kamvist-make-catalogue <path>: places an empty catalogue file at path
// unless a file is already there. Run by the build for bin/dat/dzxcb.db.

#include "common/AppError.h"
#include "catalogue/CatalogueFile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: kamvist-make-catalogue <path>\n";
        return 2;
    }
    try {
        if (createCatalogueFile(arguments.at(1)))
            QTextStream(stdout) << "created " << arguments.at(1) << "\n";
        return 0;
    } catch (const AppError &error) {
        err << error.text() << "\n";
        return 1;
    }
}
