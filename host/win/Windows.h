#pragma once
// Umbrella header for the Win32-style layer.
#include "host/gdi/WinTypes.h"
#include "host/gdi/WinGdi.h"
#include "host/win/WinUser.h"
