#pragma once

#include "app/Tfmain.h"
#include "catalogue/Tdbhouse.h"
#include "record/ui/ChannelForms.h"

#include <memory>

// The windows and the data module of a run, created in start-up order (main
// window, camera 2's channel window, data module, cameras 3 and 4's channel
// windows) and wired to each other.
class ProgramWindows
{
public:
    explicit ProgramWindows(const MainWindowServices &services);
    // The channel windows go first, so their recordings are finished while
    // the main window and the catalogue still exist.
    ~ProgramWindows();

    std::unique_ptr<Tfmain> fmain;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<Tdbhouse> dbhouse;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
};
