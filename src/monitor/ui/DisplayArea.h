#pragma once

#include <QString>
#include <QWidget>
#include <array>

class DesignRectPanel;
class ImageView;
class QLabel;
class QPushButton;
class QSlider;

// The monitoring area left of the control panel (`Panel2`): the hidden capture
// views, the one-, two- and four-pane layouts, and the enlarged view with its zoom bar.
class DisplayArea : public QWidget
{
    Q_OBJECT
public:
    explicit DisplayArea(QWidget *parent = nullptr);

    ImageView *captureView(int camera) const;   // ImageEnView1..4, never shown
    ImageView *pane(int paneCode) const;        // nullptr for an unknown code
    ImageView *enlargedView() const { return imgall; }

    // Shows the layout for the camera count; false (and only the enlarged view
    // hidden) when the count is not "1" to "4".
    bool applyLayout(const QString &cameraCount);

    int selectedPane() const { return selectedPane_; }
    void selectPane(int paneCode) { selectedPane_ = paneCode; }
    bool enlargedShown() const;

    void enlarge();
    void leaveEnlarged();
    void zoomEnlargedTo(int percent);
    void resetAllZooms();

    QWidget *p1 = nullptr;
    DesignRectPanel *p2 = nullptr;
    DesignRectPanel *p4 = nullptr;
    QWidget *pall = nullptr;
    QWidget *Panel3 = nullptr;
    QLabel *zoomHint = nullptr;
    QSlider *TrackBar1 = nullptr;
    QPushButton *SpeedButton11 = nullptr;
    QPushButton *SpeedButton10 = nullptr;
    ImageView *imgall = nullptr;

signals:
    // A pane was clicked; the main window's select-pane handlers listen.
    void paneClicked(int paneCode);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ImageView *makePane(const char *objectName, int paneCode);
    void buildEnlargedView();
    void fillArea();

    std::array<ImageView *, 4> captureViews_{};
    std::array<ImageView *, 7> panes_{};
    int selectedPane_ = 0;
};
