#pragma once
// The standard controls.
#include "host/vcl/StdLabel.h"
#include "host/vcl/StdButtons.h"
#include "host/vcl/StdEdit.h"
#include "host/vcl/StdLists.h"
#include "host/vcl/StdScroll.h"
