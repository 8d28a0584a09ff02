#pragma once
// Panels and bevels.
#include "host/vcl/Controls.h"
