#pragma once

#include <QObject>
#include <functional>

class QTimer;

// File rotation: every 100 minutes while monitoring is on, monitoring stops,
// pauses and starts again, so each camera continues in a new file. The pause
// is a timer, so the window paints and handles input meanwhile; what the
// operator does in the pause decides, and the rotation then starts nothing.
class FileRotation : public QObject
{
    Q_OBJECT
public:
    static constexpr int intervalMs = 100 * 60 * 1000;
    static constexpr int defaultPauseMs = 3000;

    struct Hooks
    {
        std::function<bool()> monitoringOn;
        std::function<void()> stopMonitoring;
        std::function<void()> startMonitoring;
        // The monitoring page is the one shown (a start belongs there only).
        std::function<bool()> monitoringPageShown;
        // The run is ending (window closed, tray exit): nothing starts again.
        std::function<bool()> runEnding;
    };

    // The rotation timer is the window's `Txstwo`; the rotation stops and restarts it.
    FileRotation(QTimer &timer, Hooks hooks);

    void setPauseMs(int pauseMs) { pauseMs_ = pauseMs; }
    // The tick of the rotation timer. Failures of the stop or the start are dropped.
    void tick();
    // True from the stop until the restart (or the decision not to restart).
    bool pausing() const { return pausing_; }

private:
    void finish();

    QTimer &timer_;
    Hooks hooks_;
    int pauseMs_ = defaultPauseMs;
    bool pausing_ = false;
};
