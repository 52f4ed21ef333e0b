#include "app/ProgramWindows.h"

ProgramWindows::ProgramWindows(const MainWindowServices &services)
{
    fmain = std::make_unique<Tfmain>(services);
    form2 = std::make_unique<TForm2>(fmain->channelSetup(2));
    dbhouse = std::make_unique<Tdbhouse>();
    form3 = std::make_unique<TForm3>(fmain->channelSetup(3));
    form4 = std::make_unique<TForm4>(fmain->channelSetup(4));

    fmain->setCatalogue(dbhouse.get());
    fmain->setChannelForms({form2.get(), form3.get(), form4.get()});
    for (ChannelForm *form : std::initializer_list<ChannelForm *>{form2.get(), form3.get(), form4.get()})
        form->channel().setCatalogue(dbhouse.get());
}

ProgramWindows::~ProgramWindows()
{
    form4.reset();
    form3.reset();
    form2.reset();
    fmain.reset();
    dbhouse.reset();
}
