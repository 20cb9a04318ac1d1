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
  // A window closed from inside its own showing (a message let through
  // while it reads its settings) is freed once that is done.
  window->FreeWhenIdle();
  window = nullptr;
}

}  // namespace zentra
