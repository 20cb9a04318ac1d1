// Makes the mixer window classes known to the control window, which creates
// them by class name when their check box is ticked. Start-up calls this
// once, before the control window is shown.
#pragma once

namespace zentra {

void RegisterMixerWindows();

}  // namespace zentra
