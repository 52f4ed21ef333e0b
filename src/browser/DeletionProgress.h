#pragma once

// Seam for the sign of life during a long "delete all". The browser calls
// begin() only for long lists, advance() after each file/row pair, and end()
// in every case, also when a database error ends the walk. A stop the
// operator asks for is honoured between pairs, never inside one.
class DeletionProgress
{
public:
    virtual ~DeletionProgress() = default;
    virtual void begin(int totalRows) = 0;
    // May let the window repaint and take the operator's stop.
    virtual void advance(int doneRows) = 0;
    virtual bool stopRequested() const = 0;
    virtual void end() = 0;
};
