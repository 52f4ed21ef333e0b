#include "monitor/ui/DesignRectPanel.h"

#include <cmath>

DesignRectPanel::DesignRectPanel(QSize designSize, QWidget *parent)
    : QWidget(parent), designSize_(designSize)
{
}

void DesignRectPanel::place(QWidget *child, QRect designRect)
{
    child->setParent(this);
    placements_.append({child, designRect});
    layoutChildren();
}

QRect DesignRectPanel::scaled(QRect designRect, QSize designSize, QSize panelSize)
{
    const double sx = double(panelSize.width()) / designSize.width();
    const double sy = double(panelSize.height()) / designSize.height();
    const int left = int(std::lround(designRect.left() * sx));
    const int top = int(std::lround(designRect.top() * sy));
    const int right = int(std::lround((designRect.left() + designRect.width()) * sx));
    const int bottom = int(std::lround((designRect.top() + designRect.height()) * sy));
    return QRect(left, top, right - left, bottom - top);
}

void DesignRectPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void DesignRectPanel::layoutChildren()
{
    for (const Placement &p : placements_)
        p.child->setGeometry(scaled(p.designRect, designSize_, size()));
}
