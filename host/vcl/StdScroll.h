#pragma once
// The scroll bar control.
#include "host/vcl/Controls.h"
