// All standard classes of the widget toolkit.
#pragma once

#include "toolkit/buttons.h"
#include "toolkit/combo_box.h"
#include "toolkit/containers.h"
#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/page_control.h"
#include "toolkit/shapes.h"
#include "toolkit/speed_button.h"
#include "toolkit/timer.h"
#include "toolkit/track_bar.h"
