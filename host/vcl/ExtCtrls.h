#pragma once
// The extra controls: panels, bevels, images, shapes, radio groups, timers.
#include "host/vcl/ExtPanels.h"
#include "host/vcl/ExtShapes.h"
#include "host/vcl/ExtRadioGroup.h"
#include "host/vcl/Timer.h"
