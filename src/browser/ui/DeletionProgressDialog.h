#pragma once

#include "browser/DeletionProgress.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress of a long "delete all" as a window-modal progress dialog over
// its owner: the window repaints and blocks other commands meanwhile, and
// "停止" ends the walk after the file/row pair under way.
class DeletionProgressDialog final : public DeletionProgress
{
public:
    explicit DeletionProgressDialog(QWidget *owner);
    ~DeletionProgressDialog() override;
    DeletionProgressDialog(const DeletionProgressDialog &) = delete;
    DeletionProgressDialog &operator=(const DeletionProgressDialog &) = delete;

    void begin(int totalRows) override;
    void advance(int doneRows) override;
    bool stopRequested() const override;
    void end() override;

private:
    QWidget *owner_;
    QPointer<QProgressDialog> dialog_;
};
