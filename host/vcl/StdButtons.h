#pragma once
// Push buttons, check boxes, radio buttons and group boxes.
#include "host/vcl/Controls.h"
