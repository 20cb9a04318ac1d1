// The application object: title, message loop primitives, stop flag,
// activation events, the standard error report and message boxes.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/user_api.h"
#include "toolkit/backend.h"
#include "toolkit/events.h"

namespace zentra {

class Application {
 public:
  static Application& Instance();

  // The widget backend; set once at start-up (and by test fixtures).
  void SetBackend(std::unique_ptr<Backend> backend);
  Backend* GetBackend() const { return backend_.get(); }
  // Message boxes go through this service.
  void SetUserApi(UserApi* user) { user_ = user; }
  UserApi* GetUserApi() const { return user_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Handles one message; with wait, blocks until one arrives. False when
  // nothing was handled.
  bool HandleMessage(bool wait = true);
  // Handles every message already queued, then returns.
  void ProcessMessages();
  // Stop flag of the main loop.
  bool Terminated() const { return terminated_; }
  // Raises the stop flag and wakes a main loop that waits for a message.
  void Terminate();
  void ResetTerminated() { terminated_ = false; }

  NotifyEvent OnActivate;
  NotifyEvent OnDeactivate;
  // The backend reports that the program became active or inactive.
  void UserActivateApp(bool active);
  bool Active() const { return active_; }

  // Standard error report: shows the exception's message in an error box
  // titled with the application title; SilentAbort shows nothing.
  void ShowException(std::exception_ptr error);

  // A message box through the platform's user services (owner may be 0).
  int MessageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                 WinHandle owner = 0);

 private:
  Application() = default;

  std::unique_ptr<Backend> backend_;
  UserApi* user_ = nullptr;
  std::string title_;
  std::atomic<bool> terminated_{false};
  bool active_ = false;
};

// Posts a message to a window; thread-safe (usable from a timer thread).
// False when there is no backend or no such window.
bool PostMessageToWindow(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                         std::intptr_t lParam);

// Runs an action started by the user or a message; an exception that escapes
// it goes to the application's standard error report. With an origin (the
// control, timer or form whose event or message it handles), the form the
// origin belongs to is not freed while the action runs: a release asked
// meanwhile (the control window switching the window off while one of its
// handlers shows a message box, runs a modal form or lets messages through)
// waits until the action and its error report are done, and the handler
// can see it with TForm::ReleasePending and stop.
void RunGuarded(const std::function<void()>& action, Component* origin = nullptr);

}  // namespace zentra
