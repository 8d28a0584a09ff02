#pragma once
// What the generic DC entry points ask of printer DCs.
#include "host/gdi/WinTypes.h"

namespace host::gdi {

// True when hdc is a printer DC; value is then its answer to GetDeviceCaps.
bool PrinterDeviceCaps(HDC hdc, int index, int& value);
// True when hdc was a printer DC: its job is aborted and the DC freed.
bool DeletePrinterDc(HDC hdc);

}  // namespace host::gdi
