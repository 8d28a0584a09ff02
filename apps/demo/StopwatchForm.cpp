// The stopwatch's dialog, filled with three timed laps.
#include "Demo.h"

#include "general/Stopform.h"
#include "general/Stopwtch.h"

namespace demo {
namespace {

host::TForm* CreateStopwatchForm(host::TComponent* Owner)
{
    auto* dialog = new kel::TStopWatchDialog(Owner);
    dialog->SetCaption("Report timer");
    dialog->lblLaps->SetCaption("3");
    dialog->lblTotal->SetCaption("0.500  seconds");
    dialog->lblAverage->SetCaption("0.167  seconds");
    dialog->lblLastLap->SetCaption("0.150  seconds");
    return dialog;
}

const TRegisterForm Registered{"stopwatch", "&Stopwatch...", &CreateStopwatchForm};

} // namespace
} // namespace demo
