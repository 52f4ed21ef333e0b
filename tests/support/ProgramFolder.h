#pragma once

#include "catalogue/CatalogueFile.h"
#include "settings/TGlobal.h"

#include <QTemporaryDir>
#include <memory>

// A sandbox folder that stands in for the executable's folder: its own
// settings file, which is the program's settings while it lives, and, when
// asked for, an empty catalogue in dat/.
struct ProgramFolder
{
    explicit ProgramFolder(bool withCatalogueFile)
    {
        folder = sandbox.path() + '/';
        if (withCatalogueFile)
            createCatalogueFile(folder + "dat/dzxcb.db");
        settings = std::make_unique<TGlobal>(folder + "Kamvist.ini");
        GlobalSettings = settings.get();
    }
    ~ProgramFolder() { GlobalSettings = nullptr; }

    QTemporaryDir sandbox;
    QString folder; // with a trailing "/"
    std::unique_ptr<TGlobal> settings;
};
