#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

// A panel whose children keep rectangles given at a design size of the panel,
// scaled with the panel's current size (the two- and four-pane layouts).
class DesignRectPanel : public QWidget
{
    Q_OBJECT
public:
    DesignRectPanel(QSize designSize, QWidget *parent = nullptr);

    void place(QWidget *child, QRect designRect);

    // The rectangle a child placed at designRect gets at the given panel size.
    static QRect scaled(QRect designRect, QSize designSize, QSize panelSize);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChildren();

    struct Placement { QWidget *child; QRect designRect; };
    QSize designSize_;
    QList<Placement> placements_;
};
