#include "snapshot/ui/SnapshotGallery.h"

#include "snapshot/SnapshotController.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Paints the thumbnail alone, centred in its cell: a black border round it, and
// round the selected one a red frame instead. No caption, no highlight fill.
class ThumbnailDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QPixmap thumbnail = index.data(Qt::DecorationRole).value<QPixmap>();
        QRect picture(QPoint(), thumbnail.size().scaled(option.decorationSize, Qt::KeepAspectRatio));
        picture.moveCenter(option.rect.center());
        painter->save();
        painter->drawPixmap(picture, thumbnail);
        const bool selected = option.state & QStyle::State_Selected;
        const int width = selected ? SnapshotGallery::selectedFramePx : SnapshotGallery::borderPx;
        const QColor colour = selected ? QColor(Qt::red) : QColor(Qt::black);
        // The frame lies round the picture, outside it.
        const QRect frame = picture.adjusted(-width, -width, width, width);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        painter->drawRect(QRect(frame.left(), frame.top(), frame.width(), width));
        painter->drawRect(QRect(frame.left(), frame.bottom() - width + 1, frame.width(), width));
        painter->drawRect(QRect(frame.left(), frame.top(), width, frame.height()));
        painter->drawRect(QRect(frame.right() - width + 1, frame.top(), width, frame.height()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        const int margin = 2 * (SnapshotGallery::selectedFramePx + 2);
        return option.decorationSize + QSize(margin, margin);
    }
};

} // namespace

SnapshotGallery::SnapshotGallery(QWidget *parent)
    : QListWidget(parent)
{
    setToolTip(QStringLiteral("双击清除所有拍照"));
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setIconSize(QSize(200, 150));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new ThumbnailDelegate(this));
}

void SnapshotGallery::showGalleryOf(const SnapshotController &controller)
{
    clear();
    for (const QImage &picture : controller.gallery())
        appendPicture(picture);
    connect(&controller, &SnapshotController::snapshotAdded, this, &SnapshotGallery::appendPicture);
    connect(&controller, &SnapshotController::galleryCleared, this, &QListWidget::clear);
}

void SnapshotGallery::appendPicture(const QImage &picture)
{
    // The item keeps only a thumbnail; the full picture stays with the controller.
    const QImage thumbnail = picture.scaled(iconSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    auto *item = new QListWidgetItem(this);
    item->setData(Qt::DecorationRole, QPixmap::fromImage(thumbnail));
    scrollToItem(item);
}

void SnapshotGallery::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    emit galleryDoubleClicked();
}
