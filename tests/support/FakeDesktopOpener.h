#pragma once

#include "common/DesktopOpener.h"

#include <QStringList>

// Records every path handed to the desktop.
class FakeDesktopOpener final : public DesktopOpener
{
public:
    void open(const QString &path) override { opened << path; }
    QStringList opened;
};
