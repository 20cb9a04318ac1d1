#include "toolkit/application.h"

#include <optional>

#include "platform/silent_abort.h"
#include "toolkit/form.h"

namespace zentra {

Application& Application::Instance() {
  static Application app;
  return app;
}

void Application::SetBackend(std::unique_ptr<Backend> backend) { backend_ = std::move(backend); }

bool Application::HandleMessage(bool wait) {
  if (backend_ == nullptr) return false;
  return backend_->HandleMessage(wait);
}

void Application::ProcessMessages() {
  if (backend_ == nullptr) return;
  while (backend_->HandleMessage(false)) {
  }
}

void Application::UserActivateApp(bool active) {
  RunGuarded([&] {
    if (active == active_) return;
    active_ = active;
    if (active && OnActivate) OnActivate(nullptr);
    if (!active && OnDeactivate) OnDeactivate(nullptr);
  });
}

void Application::ShowException(std::exception_ptr error) {
  if (!error) return;
  std::string text;
  try {
    std::rethrow_exception(error);
  } catch (const SilentAbort&) {
    return;
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "Unbekannter Fehler";
  }
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

int Application::MessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style, WinHandle owner) {
  if (user_ == nullptr) return 0;
  return user_->MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

bool PostMessageToWindow(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                         std::intptr_t lParam) {
  Backend* backend = Application::Instance().GetBackend();
  if (backend == nullptr) return false;
  return backend->PostMessage(window, msg, wParam, lParam);
}

namespace {

// The form a component's events run in: a control's window, else the first
// form among its owners (a timer's).
TForm* FormOf(Component* component) {
  if (auto* control = dynamic_cast<Control*>(component))
    if (TForm* form = control->ParentForm()) return form;
  for (Component* c = component; c != nullptr; c = c->Owner())
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  return nullptr;
}

}  // namespace

void RunGuarded(const std::function<void()>& action, Component* origin) {
  std::optional<TForm::ReleaseDeferral> keep;
  if (TForm* form = FormOf(origin)) keep.emplace(*form);
  try {
    action();
  } catch (...) {
    Application::Instance().ShowException(std::current_exception());
  }
}

void Application::Terminate() {
  terminated_ = true;
  if (backend_) backend_->Wake();
}

}  // namespace zentra
