#include "record/ui/ChannelForms.h"

#include "record/ui/ChannelPanel.h"

ChannelForm::ChannelForm(const RecordingChannel::Setup &setup)
    : channel_(std::make_unique<RecordingChannel>(setup))
{
    panel_ = new ChannelPanel(*channel_, this);
}

// The panel goes before the channel it follows.
ChannelForm::~ChannelForm()
{
    delete panel_;
}
