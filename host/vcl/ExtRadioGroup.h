#pragma once
// A group box of radio buttons driven by a list of captions.
#include "host/vcl/Controls.h"
