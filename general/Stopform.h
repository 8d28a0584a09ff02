#pragma once
// The stopwatch's dialog: laps, total, average and last lap of a TStopWatch.
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdCtrls.h"

namespace kel {

class TStopWatchDialog : public host::TForm {
    HOST_CLASS(TStopWatchDialog, host::TForm)
public:
    explicit TStopWatchDialog(host::TComponent* AOwner);

    host::TBevel* Bevel1 = nullptr;
    host::TLabel* Label1 = nullptr;
    host::TLabel* Label2 = nullptr;
    host::TLabel* Label3 = nullptr;
    host::TLabel* Label4 = nullptr;
    host::TLabel* lblLaps = nullptr;
    host::TLabel* lblTotal = nullptr;
    host::TLabel* lblAverage = nullptr;
    host::TLabel* lblLastLap = nullptr;
    host::TButton* OKBtn = nullptr;
};

} // namespace kel
