#include "monitor/capture/ui/DevicePropertyDialog.h"

#include "common/AppError.h"
#include "monitor/capture/CameraCapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

DevicePropertyDialog::DevicePropertyDialog(CaptureBackend &backend, int deviceIndex,
                                           QWidget *parent)
    : QDialog(parent)
    , backend_(backend)
    , deviceIndex_(deviceIndex)
{
    setWindowTitle(QStringLiteral("视频设备属性"));

    auto *layout = new QVBoxLayout(this);
    auto *description = new QLabel(backend.deviceDescription(deviceIndex));
    description->setObjectName(QStringLiteral("description"));
    description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(description);
    layout->addWidget(makeFormatList());

    auto *settings = new QGroupBox(QStringLiteral("参数"));
    auto *form = new QFormLayout(settings);
    const QList<DeviceControl> controls = backend.controls(deviceIndex);
    for (const DeviceControl &control : controls)
        form->addRow(control.name, makeControlEditor(control));
    if (controls.isEmpty())
        form->addRow(new QLabel(QStringLiteral("此设备没有可调整的参数")));
    layout->addWidget(settings);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    status_->setStyleSheet(QStringLiteral("color: #c00000"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QWidget *DevicePropertyDialog::makeFormatList()
{
    auto *box = new QGroupBox(QStringLiteral("格式"));
    auto *list = new QVBoxLayout(box);
    const QList<VideoFormat> formats = backend_.formats(deviceIndex_);
    for (const VideoFormat &format : formats) {
        list->addWidget(new QLabel(QStringLiteral("%1  最大 %2x%3")
                                       .arg(format.name)
                                       .arg(format.maxWidth)
                                       .arg(format.maxHeight)));
    }
    if (formats.isEmpty())
        list->addWidget(new QLabel(QStringLiteral("无")));
    return box;
}

QWidget *DevicePropertyDialog::makeControlEditor(const DeviceControl &control)
{
    const QString objectName = QStringLiteral("control_%1").arg(control.id);
    const quint32 id = control.id;
    switch (control.kind) {
    case DeviceControl::Kind::Boolean: {
        auto *check = new QCheckBox;
        check->setObjectName(objectName);
        check->setChecked(control.value != 0);
        connect(check, &QCheckBox::toggled, this, [this, id](bool on) { apply(id, on ? 1 : 0); });
        return check;
    }
    case DeviceControl::Kind::Menu: {
        auto *combo = new QComboBox;
        combo->setObjectName(objectName);
        for (const auto &[value, label] : control.menuItems)
            combo->addItem(label, value);
        combo->setCurrentIndex(combo->findData(control.value));
        connect(combo, &QComboBox::activated, this,
                [this, id, combo](int index) { apply(id, combo->itemData(index).toInt()); });
        return combo;
    }
    case DeviceControl::Kind::Integer:
        break;
    }
    auto *row = new QWidget;
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(objectName);
    slider->setRange(control.minimum, control.maximum);
    slider->setSingleStep(control.step);
    slider->setPageStep(qMax(control.step, (control.maximum - control.minimum) / 10));
    slider->setValue(control.value);
    auto *shown = new QLabel(QString::number(control.value));
    shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(QStringLiteral("-00000")));
    connect(slider, &QSlider::valueChanged, this, [this, id, shown](int value) {
        shown->setNum(value);
        apply(id, value);
    });
    rowLayout->addWidget(slider, 1);
    rowLayout->addWidget(shown);
    return row;
}

// Sends one changed setting to the device; a refusal is shown in the dialog.
void DevicePropertyDialog::apply(quint32 controlId, int value)
{
    try {
        backend_.setControl(deviceIndex_, controlId, value);
        status_->clear();
    } catch (const AppError &error) {
        status_->setText(error.text());
    }
}

void showDevicePropertyDialog(CameraCapture &capture, QWidget *parent)
{
    if (!capture.backend() || capture.boundDeviceIndex() < 0)
        return;
    DevicePropertyDialog dialog(*capture.backend(), capture.boundDeviceIndex(), parent);
    dialog.exec();
}
