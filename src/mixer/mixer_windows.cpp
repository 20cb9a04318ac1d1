#include "mixer/mixer_windows.h"

#include "app/managed_window.h"
#include "mixer/analog_input_window.h"

namespace zentra {

void RegisterMixerWindows() {
  RegisterManagedWindowClass("TfrmAnalogInp",
                             [](Component* owner) -> TManagedForm* { return new TfrmAnalogInp(owner); });
}

}  // namespace zentra
