#include "mixer/mixer_windows.h"

#include "winutil/managed_form.h"
#include "mixer/analog_input_window.h"

namespace zentra {

void RegisterMixerWindows() {
  RegisterManagedWindowClass("TfrmAnalogInp",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmAnalogInp(owner, program);
                             });
}

}  // namespace zentra
