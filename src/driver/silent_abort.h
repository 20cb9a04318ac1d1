// The silent abort raised by the driver layer (a control handle that cannot
// be opened) is the toolkit's: the control window catches it where it
// creates a window, and the standard error report shows nothing for it.
#pragma once

#include "toolkit/silent_abort.h"
