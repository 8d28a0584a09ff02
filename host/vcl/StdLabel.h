#pragma once
// Static text: TCustomLabel and TLabel.
#include "host/vcl/Controls.h"
