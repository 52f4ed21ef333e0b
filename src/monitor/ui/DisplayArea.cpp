#include "monitor/ui/DisplayArea.h"

#include "common/PaneCodes.h"
#include "monitor/ui/DesignRectPanel.h"
#include "monitor/ui/ImageView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace {

constexpr int kZoomBarHeight = 46;

// Panes and the enlarged view show black where there is no picture.
void paintBlackBehind(ImageView *view)
{
    view->setAutoFillBackground(true);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Window, Qt::black);
    view->setPalette(pal);
}

int indexOfPane(int paneCode)
{
    for (size_t i = 0; i < PaneCodes::all.size(); ++i) {
        if (PaneCodes::all[i] == paneCode)
            return int(i);
    }
    return -1;
}

} // namespace

DisplayArea::DisplayArea(QWidget *parent) : QWidget(parent)
{
    setObjectName("Panel2");
    for (int camera = 1; camera <= 4; ++camera) {
        auto *view = new ImageView(this);
        view->setObjectName(QString("ImageEnView%1").arg(camera));
        view->hide();
        captureViews_[camera - 1] = view;
    }

    p1 = new QWidget(this);
    p1->setObjectName("p1");
    auto *p1Layout = new QVBoxLayout(p1);
    p1Layout->setContentsMargins(0, 0, 0, 0);
    p1Layout->addWidget(makePane("imgvone", 1));

    p2 = new DesignRectPanel(QSize(998, 632), this);
    p2->setObjectName("p2");
    p2->place(makePane("imgvone21", 21), QRect(9, 9, 486, 613));
    p2->place(makePane("imgvone22", 22), QRect(500, 9, 481, 613));

    p4 = new DesignRectPanel(QSize(997, 626), this);
    p4->setObjectName("p4");
    p4->place(makePane("imgvone41", 41), QRect(9, 9, 481, 312));
    p4->place(makePane("imgvone42", 42), QRect(495, 9, 484, 312));
    p4->place(makePane("imgvone43", 43), QRect(9, 327, 481, 292));
    p4->place(makePane("imgvone44", 44), QRect(495, 326, 484, 292));

    buildEnlargedView();

    // Until the first layout is applied the one-pane layout is shown.
    p2->hide();
    p4->hide();
    pall->hide();
}

ImageView *DisplayArea::makePane(const char *objectName, int paneCode)
{
    auto *view = new ImageView(this);
    view->setObjectName(objectName);
    paintBlackBehind(view);
    panes_[indexOfPane(paneCode)] = view;
    connect(view, &ImageView::clicked, this, [this, paneCode] { emit paneClicked(paneCode); });
    return view;
}

void DisplayArea::buildEnlargedView()
{
    pall = new QWidget(this);
    pall->setObjectName("pall");
    // The enlarged view covers the layout panels; nothing of them may show through.
    pall->setAutoFillBackground(true);
    auto *column = new QVBoxLayout(pall);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel3 = new QWidget(pall);
    Panel3->setObjectName("Panel3");
    Panel3->setFixedHeight(kZoomBarHeight);
    auto *bar = new QHBoxLayout(Panel3);
    zoomHint = new QLabel(QStringLiteral("提示:先点击界面,再用鼠标中间滚轮可以放大和缩小画面！"), Panel3);
    TrackBar1 = new QSlider(Qt::Horizontal, Panel3);
    TrackBar1->setObjectName("TrackBar1");
    TrackBar1->setRange(ImageView::minZoomPercent, ImageView::maxZoomPercent);
    TrackBar1->setTickInterval(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(100);
    SpeedButton11 = new QPushButton(QStringLiteral("原始大小"), Panel3);
    SpeedButton11->setObjectName("SpeedButton11");
    SpeedButton10 = new QPushButton(QStringLiteral("返回"), Panel3);
    SpeedButton10->setObjectName("SpeedButton10");
    bar->addWidget(zoomHint);
    bar->addWidget(TrackBar1, 1);
    bar->addWidget(SpeedButton11);
    bar->addWidget(SpeedButton10);

    imgall = new ImageView(pall);
    imgall->setObjectName("imgall");
    paintBlackBehind(imgall);

    column->addWidget(Panel3);
    column->addWidget(imgall, 1);
}

ImageView *DisplayArea::captureView(int camera) const
{
    return camera >= 1 && camera <= 4 ? captureViews_[camera - 1] : nullptr;
}

ImageView *DisplayArea::pane(int paneCode) const
{
    const int index = indexOfPane(paneCode);
    return index < 0 ? nullptr : panes_[index];
}

bool DisplayArea::applyLayout(const QString &cameraCount)
{
    pall->hide();
    if (cameraCount == "1") {
        p2->hide();
        p4->hide();
        p1->show();
    } else if (cameraCount == "2") {
        p2->show();
        p4->hide();
        p1->hide();
    } else if (cameraCount == "3" || cameraCount == "4") {
        p1->hide();
        p2->hide();
        p4->show();
    } else {
        return false;
    }
    fillArea();
    return true;
}

bool DisplayArea::enlargedShown() const
{
    return pall->isVisibleTo(const_cast<DisplayArea *>(this));
}

void DisplayArea::enlarge()
{
    if (selectedPane_ == 0)
        return;
    fillArea();
    pall->show();
    pall->raise();
}

void DisplayArea::leaveEnlarged()
{
    selectedPane_ = 0;
    pall->hide();
}

void DisplayArea::zoomEnlargedTo(int percent)
{
    imgall->setZoomPercent(percent);
}

void DisplayArea::resetAllZooms()
{
    imgall->setZoomPercent(100);
    for (int code : PaneCodes::all)
        pane(code)->setZoomPercent(100);
}

void DisplayArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fillArea();
}

void DisplayArea::fillArea()
{
    for (QWidget *panel : {p1, static_cast<QWidget *>(p2), static_cast<QWidget *>(p4), pall})
        panel->setGeometry(rect());
}
