#include "browser/ui/DeletionProgressDialog.h"

#include <QProgressDialog>

DeletionProgressDialog::DeletionProgressDialog(QWidget *owner)
    : owner_(owner)
{
}

DeletionProgressDialog::~DeletionProgressDialog()
{
    end();
}

void DeletionProgressDialog::begin(int totalRows)
{
    end();
    dialog_ = new QProgressDialog(QStringLiteral("正在删除监控文件和记录……"), QStringLiteral("停止"), 0, totalRows,
                                  owner_);
    dialog_->setObjectName(QStringLiteral("deletionProgress"));
    dialog_->setWindowTitle(QStringLiteral("全部删除"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
}

void DeletionProgressDialog::advance(int doneRows)
{
    // A modal progress dialog lets the event loop run here, so the window repaints.
    if (dialog_)
        dialog_->setValue(doneRows);
}

bool DeletionProgressDialog::stopRequested() const
{
    return dialog_ && dialog_->wasCanceled();
}

void DeletionProgressDialog::end()
{
    delete dialog_.data();
}
