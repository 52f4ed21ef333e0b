#include "record/ChannelForms.h"

ChannelForm::ChannelForm(int camera, const MainWindowServices &, QWidget *parent)
    : QWidget(parent), camera_(camera)
{
}
