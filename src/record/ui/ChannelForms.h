#pragma once

#include "record/RecordingChannel.h"

#include <QWidget>
#include <memory>

class ChannelPanel;

// A never-shown window that carries the recording channel of camera 2, 3 or 4.
class ChannelForm : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelForm(const RecordingChannel::Setup &setup);
    ~ChannelForm() override;

    RecordingChannel &channel() { return *channel_; }

private:
    std::unique_ptr<RecordingChannel> channel_;
    ChannelPanel *panel_ = nullptr;
};

class TForm2 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm2(const RecordingChannel::Setup &setup) : ChannelForm(setup) { setObjectName("Form2"); }
};

class TForm3 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm3(const RecordingChannel::Setup &setup) : ChannelForm(setup) { setObjectName("Form3"); }
};

class TForm4 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm4(const RecordingChannel::Setup &setup) : ChannelForm(setup) { setObjectName("Form4"); }
};
