#include "winutil/window_control.h"

#include "platform/platform.h"
#include "toolkit/form.h"

namespace zentra {

void SetStayOnTop(TForm& window, bool on) {
  UserApi* user = CurrentPlatform().user;
  if (user == nullptr) return;
  user->SetWindowPos(window.Handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CloseAndFreeForm(TForm*& window) {
  if (window == nullptr) return;
  window->Close();
  Free(window);
  window = nullptr;
}

}  // namespace zentra
