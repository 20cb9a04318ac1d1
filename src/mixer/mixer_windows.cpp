#include "mixer/mixer_windows.h"

#include "winutil/managed_form.h"
#include "mixer/adat_window.h"
#include "mixer/analog_input_window.h"
#include "mixer/analog_output_window.h"
#include "mixer/digital_input_window.h"
#include "mixer/digital_output_window.h"

namespace zentra {

void RegisterMixerWindows() {
  RegisterManagedWindowClass("TfrmAnalogInp",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmAnalogInp(owner, program);
                             });
  RegisterManagedWindowClass("TfrmAnalogOut",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmAnalogOut(owner, program);
                             });
  RegisterManagedWindowClass("TfrmDigInp",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmDigInp(owner, program);
                             });
  RegisterManagedWindowClass("TfrmDigOut",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmDigOut(owner, program);
                             });
  RegisterManagedWindowClass("TfrmAdatInp",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmAdatInp(owner, program);
                             });
  RegisterManagedWindowClass("TfrmAdatOut",
                             [](Component* owner, ProgramLink& program) -> TManagedForm* {
                               return new TfrmAdatOut(owner, program);
                             });
}

}  // namespace zentra
