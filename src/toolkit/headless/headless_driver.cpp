#include "toolkit/headless/headless_driver.h"

#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/text_util.h"

namespace zentra {

void HeadlessDriver::RequireReachable(const Control& control, const char* action) const {
  const std::string what = std::string(action) + " '" + control.Name() + "': ";
  if (!control.Showing()) throw std::logic_error(what + "the control is not on screen");
  for (const Control* c = &control; c != nullptr; c = c->Parent())
    if (!c->Enabled()) throw std::logic_error(what + "the control is disabled");
}

void HeadlessDriver::Click(Control& control) {
  RequireReachable(control, "Click");
  if (!control.IsWindowed()) {
    // Windowless buttons react to the mouse itself.
    const int x = control.Width() / 2, y = control.Height() / 2;
    // As the native backend does: the click (where the model says the
    // release is one) comes before the release event.
    control.UserMouseDown(MouseButton::Left, ssLeft, x, y);
    if (control.ReleaseIsClick(MouseButton::Left, x, y)) control.UserClick();
    control.UserMouseUp(MouseButton::Left, 0, x, y);
  } else {
    if (control.CanFocus() && control.TabStop()) control.UserFocusEnter();
    control.UserClick();
  }
  ProcessMessages();
}

void HeadlessDriver::DoubleClick(Control& control) {
  RequireReachable(control, "DoubleClick");
  control.UserDoubleClick();
  ProcessMessages();
}

void HeadlessDriver::Focus(Control& control) {
  RequireReachable(control, "Focus");
  control.UserFocusEnter();
  ProcessMessages();
}

void HeadlessDriver::Type(TEdit& edit, const std::string& text) {
  RequireReachable(edit, "Type into");
  edit.UserFocusEnter();
  edit.UserTextChanged(text);
  ProcessMessages();
}

void HeadlessDriver::Leave(Control& control) {
  control.UserFocusExit();
  ProcessMessages();
}

void HeadlessDriver::Choose(TComboBox& combo, int index) {
  RequireReachable(combo, "Choose in");
  if (index < 0 || index >= static_cast<int>(combo.Items().size()))
    throw std::logic_error("Choose: '" + combo.Name() + "' has no item " + std::to_string(index));
  combo.UserFocusEnter();
  combo.UserSelect(index);
  ProcessMessages();
}

void HeadlessDriver::Choose(TComboBox& combo, const std::string& item) {
  const auto& items = combo.Items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == item) return Choose(combo, static_cast<int>(i));
  throw std::logic_error("Choose: '" + combo.Name() + "' has no item '" + item + "'");
}

void HeadlessDriver::MoveTrackBar(TTrackBar& bar, int position) {
  RequireReachable(bar, "Move");
  bar.UserFocusEnter();
  bar.UserMove(position);
  ProcessMessages();
}

void HeadlessDriver::SelectPage(TPageControl& pages, int index) {
  RequireReachable(pages, "Select a page of");
  pages.UserSelectPage(index);
  ProcessMessages();
}

void HeadlessDriver::MouseDown(Control& control, int x, int y, MouseButton button) {
  RequireReachable(control, "MouseDown on");
  control.UserMouseDown(button, button == MouseButton::Left ? ssLeft : ssRight, x, y);
  ProcessMessages();
}

void HeadlessDriver::MouseMove(Control& control, int x, int y) {
  control.UserMouseMove(ssLeft, x, y);
  ProcessMessages();
}

void HeadlessDriver::MouseUp(Control& control, int x, int y, MouseButton button) {
  control.UserMouseUp(button, 0, x, y);
  ProcessMessages();
}

void HeadlessDriver::Drag(Control& control, Point from, Point to, int steps) {
  MouseDown(control, from.x, from.y);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i) {
    MouseMove(control, from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
  }
  MouseUp(control, to.x, to.y);
}

bool HeadlessDriver::PressKey(TForm& form, std::uint16_t key, ShiftState shift) {
  if (!form.Visible()) throw std::logic_error("PressKey: window '" + form.Name() + "' is hidden");
  const bool used = form.UserKeyDown(key, shift);
  ProcessMessages();
  return used;
}

void HeadlessDriver::CloseBox(TForm& form) {
  if (!form.Visible()) throw std::logic_error("CloseBox: window '" + form.Name() + "' is hidden");
  form.UserCloseRequest();
  ProcessMessages();
}

void HeadlessDriver::Resize(TForm& form, int width, int height) {
  MinMaxInfo info{};
  Size screen = backend_.ScreenSize();
  info.ptMaxSize = {screen.width, screen.height};
  info.ptMaxTrackSize = {screen.width, screen.height};
  info.ptMinTrackSize = {112, 27};
  Message m{WM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info), 0};
  form.DispatchMessage(m);
  if (width < info.ptMinTrackSize.x) width = info.ptMinTrackSize.x;
  if (height < info.ptMinTrackSize.y) height = info.ptMinTrackSize.y;
  if (width > info.ptMaxTrackSize.x) width = info.ptMaxTrackSize.x;
  if (height > info.ptMaxTrackSize.y) height = info.ptMaxTrackSize.y;
  form.UserResized(width, height);
  ProcessMessages();
}

void HeadlessDriver::Activate(TForm& form, bool active) {
  form.UserActivate(active);
  ProcessMessages();
}

void HeadlessDriver::ProcessMessages() { Application::Instance().ProcessMessages(); }

std::string HeadlessDriver::ShownText(const Control& control) {
  return control.DisplayText();
}

}  // namespace zentra
