#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <QDialog>

class CameraCapture;
class QLabel;

// The property dialog of one video input device: its description, its
// formats and its adjustable settings, each applied the moment it changes.
class DevicePropertyDialog : public QDialog
{
    Q_OBJECT

public:
    // Reads the device's formats and controls; throws AppError when it cannot.
    DevicePropertyDialog(CaptureBackend &backend, int deviceIndex, QWidget *parent = nullptr);

private:
    QWidget *makeFormatList();
    QWidget *makeControlEditor(const DeviceControl &control);
    void apply(quint32 controlId, int value);

    CaptureBackend &backend_;
    int deviceIndex_;
    QLabel *status_ = nullptr;
};

// Shows the property dialog of the capture's bound device, modally; shows
// nothing when no device is bound. Throws AppError when the device cannot be read.
void showDevicePropertyDialog(CameraCapture &capture, QWidget *parent);
