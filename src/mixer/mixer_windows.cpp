#include "mixer/mixer_windows.h"

#include "winutil/managed_form.h"
#include "mixer/adat_window.h"
#include "mixer/analog_input_window.h"
#include "mixer/analog_output_window.h"
#include "mixer/digital_input_window.h"
#include "mixer/digital_output_window.h"

namespace zentra {

namespace {

template <typename Window>
void Register(const char* className) {
  RegisterManagedWindowClass(className,
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new Window(owner, program);
                             });
}

}  // namespace

void RegisterMixerWindows() {
  Register<TfrmAnalogInp>("TfrmAnalogInp");
  Register<TfrmAnalogOut>("TfrmAnalogOut");
  Register<TfrmDigInp>("TfrmDigInp");
  Register<TfrmDigOut>("TfrmDigOut");
  Register<TfrmAdatInp>("TfrmAdatInp");
  Register<TfrmAdatOut>("TfrmAdatOut");
}

}  // namespace zentra
