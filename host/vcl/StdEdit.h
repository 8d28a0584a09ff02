#pragma once
// Single- and multi-line text editing: TCustomEdit, TEdit, TCustomMemo, TMemo.
#include "host/vcl/Controls.h"
