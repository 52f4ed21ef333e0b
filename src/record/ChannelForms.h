#pragma once

#include "record/RecordingChannel.h"

#include <QWidget>
#include <memory>

class FrameSlot;
class Tdbhouse;
struct MainWindowServices;

// A never-shown window that carries the recording channel of camera 2, 3 or 4.
class ChannelForm : public QWidget
{
    Q_OBJECT
public:
    ChannelForm(int camera, const MainWindowServices &services, FrameSlot &frameSlot);
    ~ChannelForm() override;

    RecordingChannel &channel() { return *channel_; }
    void setCatalogue(Tdbhouse *catalogue) { channel_->setCatalogue(catalogue); }

private:
    std::unique_ptr<RecordingChannel> channel_;
};

class TForm2 final : public ChannelForm
{
    Q_OBJECT
public:
    TForm2(const MainWindowServices &services, FrameSlot &slot) : ChannelForm(2, services, slot) { setObjectName("Form2"); }
};

class TForm3 final : public ChannelForm
{
    Q_OBJECT
public:
    TForm3(const MainWindowServices &services, FrameSlot &slot) : ChannelForm(3, services, slot) { setObjectName("Form3"); }
};

class TForm4 final : public ChannelForm
{
    Q_OBJECT
public:
    TForm4(const MainWindowServices &services, FrameSlot &slot) : ChannelForm(4, services, slot) { setObjectName("Form4"); }
};
