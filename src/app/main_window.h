// The hidden main window: it takes the system's end-of-session and
// device-removal notifications and shuts the program down in order.
#pragma once

#include "toolkit/form.h"

namespace zentra {

class TfrmMain : public TForm {
 public:
  explicit TfrmMain(Component* owner);
  const char* ClassName() const override { return "TfrmMain"; }

  // Closes the control window (which closes every window it opened), then
  // raises the stop flag of the main loop.
  void ExitClick();

 private:
  void FormClose(Component* sender, CloseAction& action);
  void WMDeviceChange(Message& message);
  void WMEndSession(Message& message);
  void WMQueryEndSession(Message& message);
};

}  // namespace zentra
