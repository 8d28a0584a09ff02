#pragma once
// List boxes and combo boxes.
#include "host/vcl/Controls.h"
