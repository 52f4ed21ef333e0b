#include "common/AppError.h"
#include "monitor/capture/CameraCapture.h"
#include "support/FakeCaptureBackend.h"
#include "monitor/capture/VirtualCameraBackend.h"
#include "monitor/capture/ui/DevicePropertyDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

namespace {

DeviceControl makeControl(quint32 id, const QString &name, DeviceControl::Kind kind, int minimum,
                          int maximum, int value)
{
    DeviceControl control;
    control.id = id;
    control.name = name;
    control.kind = kind;
    control.minimum = minimum;
    control.maximum = maximum;
    control.value = value;
    return control;
}

QString allLabelText(const QWidget &widget)
{
    QStringList texts;
    for (const QLabel *label : widget.findChildren<QLabel *>())
        texts << label->text();
    return texts.join('\n');
}

} // namespace

class DevicePropertyDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void editsApplyToTheDeviceAtOnce();
    void refusedSettingIsShownInTheDialog();
    void virtualCameraShowsNameAndFormats();
    void nothingIsShownWithoutABoundDevice();
};

void DevicePropertyDialogTest::editsApplyToTheDeviceAtOnce()
{
    FakeCaptureBackend backend;
    DeviceControl menu = makeControl(3, "Power Line Frequency", DeviceControl::Kind::Menu, 0, 2, 1);
    menu.menuItems = {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}};
    backend.addDevice("Cam A", {{"MJPG", 1280, 720}},
                      {makeControl(1, "Brightness", DeviceControl::Kind::Integer, -64, 64, 10),
                       makeControl(2, "Auto White Balance", DeviceControl::Kind::Boolean, 0, 1, 1),
                       menu});
    DevicePropertyDialog dialog(backend, 0);

    auto *slider = dialog.findChild<QSlider *>("control_1");
    auto *check = dialog.findChild<QCheckBox *>("control_2");
    auto *combo = dialog.findChild<QComboBox *>("control_3");
    QVERIFY(slider && check && combo);
    QCOMPARE(slider->value(), 10);
    QVERIFY(check->isChecked());
    QCOMPARE(combo->currentText(), QString("50 Hz"));

    slider->setValue(-30);
    QCOMPARE(backend.controlValue(0, 1), -30);
    check->setChecked(false);
    QCOMPARE(backend.controlValue(0, 2), 0);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCOMPARE(backend.controlValue(0, 3), 2);
    QVERIFY(allLabelText(dialog).contains("1280x720"));
}

void DevicePropertyDialogTest::refusedSettingIsShownInTheDialog()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A", {}, {makeControl(99, "Zoom", DeviceControl::Kind::Integer, 0, 10, 0)});
    backend.setRefusesControlChanges(true);
    DevicePropertyDialog dialog(backend, 0);

    dialog.findChild<QSlider *>("control_99")->setValue(5);
    QVERIFY(!dialog.findChild<QLabel *>("status")->text().isEmpty());
    QCOMPARE(backend.controlValue(0, 99), 0);
}

void DevicePropertyDialogTest::virtualCameraShowsNameAndFormats()
{
    VirtualCameraBackend backend(2);
    DevicePropertyDialog dialog(backend, 1);
    const QString text = allLabelText(dialog);
    QVERIFY(text.contains("虚拟摄像头2"));
    QVERIFY(text.contains("640x480"));
    QVERIFY(text.contains("320x240"));
    QVERIFY(text.contains("1280x960"));
    QVERIFY(dialog.findChildren<QSlider *>().isEmpty());
}

void DevicePropertyDialogTest::nothingIsShownWithoutABoundDevice()
{
    FakeCaptureBackend backend;
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);
    showDevicePropertyDialog(capture, nullptr);   // would block in exec() if it showed
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(DevicePropertyDialogTest)
#include "DevicePropertyDialogTest.moc"
