#pragma once
// TTimer: a component that fires OnTimer at an interval.
#include "host/vcl/Controls.h"
