#pragma once

#include <QString>

// Seam for "open with the desktop": a file with the program registered for its
// type, a folder in the file manager. The result is not examined by callers.
class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    virtual void open(const QString &path) = 0;
};

// The real one: QDesktopServices (xdg-open).
class SystemDesktopOpener final : public DesktopOpener
{
public:
    void open(const QString &path) override;
};
