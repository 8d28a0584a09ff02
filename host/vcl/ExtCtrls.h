#pragma once
// The extra controls: panels, bevels, notebooks, images, shapes, radio groups, timers.
#include "host/vcl/ExtNotebook.h"
#include "host/vcl/ExtPanels.h"
#include "host/vcl/ExtShapes.h"
#include "host/vcl/ExtRadioGroup.h"
#include "host/vcl/Timer.h"
