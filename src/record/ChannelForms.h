#pragma once

#include <QWidget>

struct MainWindowServices;

// The never-shown windows that carry the recording channels of cameras 2, 3 and 4.
class ChannelForm : public QWidget
{
    Q_OBJECT
public:
    ChannelForm(int camera, const MainWindowServices &services, QWidget *parent = nullptr);
    int camera() const { return camera_; }

private:
    int camera_;
};

class TForm2 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm2(const MainWindowServices &services) : ChannelForm(2, services) { setObjectName("Form2"); }
};

class TForm3 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm3(const MainWindowServices &services) : ChannelForm(3, services) { setObjectName("Form3"); }
};

class TForm4 final : public ChannelForm
{
    Q_OBJECT
public:
    explicit TForm4(const MainWindowServices &services) : ChannelForm(4, services) { setObjectName("Form4"); }
};
