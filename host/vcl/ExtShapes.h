#pragma once
// Pictures and shapes on a form: TImage and TShape.
#include "host/vcl/Controls.h"
