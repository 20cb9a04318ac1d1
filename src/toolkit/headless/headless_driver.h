// Drives the widget model as a user would, on the headless backend: clicks,
// double-clicks, typing, combo choices, drags, keys, the close box, window
// sizing and the virtual clock of the timers. Acting on a control the user
// could not reach (hidden, disabled, or in a hidden window) is a test error.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/headless/headless_backend.h"
#include "toolkit/std_controls.h"

namespace zentra {

class HeadlessDriver {
 public:
  explicit HeadlessDriver(HeadlessBackend& backend) : backend_(backend) {}

  void Click(Control& control);
  void DoubleClick(Control& control);
  // Focuses the edit and replaces its text as typed by the user.
  void Type(TEdit& edit, const std::string& text);
  // Moves the focus away from a control (its OnExit runs).
  void Leave(Control& control);
  void Focus(Control& control);
  void Choose(TComboBox& combo, int index);
  void Choose(TComboBox& combo, const std::string& item);
  void MoveTrackBar(TTrackBar& bar, int position);
  void SelectPage(TPageControl& pages, int index);
  void MouseDown(Control& control, int x, int y, MouseButton button = MouseButton::Left);
  void MouseMove(Control& control, int x, int y);
  void MouseUp(Control& control, int x, int y, MouseButton button = MouseButton::Left);
  // Mouse down at from, moves in steps, mouse up at to (control coordinates).
  void Drag(Control& control, Point from, Point to, int steps = 4);
  // A key pressed in the form; true when the form used it.
  bool PressKey(TForm& form, std::uint16_t key, ShiftState shift = 0);
  // The close box of the window's frame.
  void CloseBox(TForm& form);
  // Sizes the window as a user dragging its frame would: the size passes
  // the window's WM_GETMINMAXINFO handling first.
  void Resize(TForm& form, int width, int height);
  void Activate(TForm& form, bool active);

  // Advances the virtual clock of the toolkit timers.
  void Tick(std::uint64_t ms) { backend_.AdvanceClock(ms); }
  void ProcessMessages();

  // The text a control shows (accelerator marks removed).
  static std::string ShownText(const Control& control);

 private:
  void RequireReachable(const Control& control, const char* action) const;

  HeadlessBackend& backend_;
};

}  // namespace zentra
