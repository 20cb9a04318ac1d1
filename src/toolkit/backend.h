// The seam between the platform-neutral widget model and a concrete user
// interface (native Win32 windows, or the headless backend of the tests).
//
// Model -> backend: every control has one peer, created by the backend
// when the control is realised (it has a parent chain up to a form, or is a
// form whose window is needed). The model tells the peer about every change
// of state it must show through ControlPeer::Changed; the peer reads the new
// state from its control. Windowless controls (label, bevel, shape, image,
// speed button, LED segments) ask their parent's peer to invalidate their own
// rectangle when their look changes.
//
// Backend -> model: user input reaches the model through the User* methods
// of the controls (Control::UserClick, UserMouseDown/Move/Up, UserFocusEnter/
// Exit; TEdit::UserTextChanged; TComboBox::UserSelect; TTrackBar::UserMove;
// TPageControl::UserSelectPage; TForm::UserCloseRequest, UserActivate,
// UserKeyDown, UserMoved, UserResized, DispatchMessage; Application::
// UserActivateApp). Each of them reports an exception that escapes an event
// handler through the application's error report, so a backend can call them
// straight from its message dispatch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include <string>

#include "toolkit/font.h"
#include "toolkit/types.h"

namespace zentra {

class Control;
class TForm;

// What changed on a control; the peer reads the new value from the model.
enum class Change : std::uint8_t {
  Bounds,       // Left, Top, Width, Height (for a form: also client size)
  Visible,      // Visible (for a form: shown or hidden)
  Enabled,      // Enabled
  Caption,      // Caption, or Text of an edit
  Font,         // effective font
  Color,        // Color / ParentColor, pen and brush of a shape
  State,        // checked state of check box and radio button, down state of a speed button
  Items,        // items of a combo box
  ItemIndex,    // selected item of a combo box
  Range,        // Min, Max, Position, PageSize, Frequency of a track bar
  ActivePage,   // active page of a page control, tab width, hot-track
  Hint,         // Hint and effective ShowHint
  Parent,       // the control got a new parent (or none)
  ZOrder,       // position among its siblings changed
  Look,         // other look: bevels, alignment, border style, default button, flat...
  Focus,        // the model moved the input focus to this control
  Icon,         // a form's icon
  WindowState,  // a form's window state (normal, minimised, maximised)
  Scroll,       // scroll position of a scroll box (the last kind: kChangeKinds follows it)
};
inline constexpr std::size_t kChangeKinds = static_cast<std::size_t>(Change::Scroll) + 1;

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Changed(Change what) = 0;
  // Marks a rectangle (client coordinates of this control) for repainting;
  // windowless children call this on their parent's peer.
  virtual void Invalidate(const Rect& rect) = 0;
  // Native window handle; 0 for a windowless control.
  virtual WinHandle Handle() const = 0;
  // The platform's default processing of a message that reached a form
  // (for example WM_SYSCOMMAND before the form looks at its own items).
  virtual void DefaultHandler(Message& message) {}
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the peer of a control; the control is fully constructed.
  virtual std::unique_ptr<ControlPeer> CreatePeer(Control& control) = 0;

  // Handles one queued message; with wait, blocks until one arrives.
  // Returns false when nothing was handled.
  virtual bool HandleMessage(bool wait) = 0;
  // Thread-safe: may be called from a timer thread. False when the window
  // does not exist.
  virtual bool PostMessage(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  // Runs messages until form.ModalLoopDone() is true (the model calls this
  // from TForm::ShowModal after showing the form, and hides it afterwards).
  // The backend disables the program's other windows meanwhile.
  virtual void RunModalLoop(TForm& form) = 0;

  // Size of a form's frame: outer size minus client size.
  virtual Size FrameExtent(const TForm& form) const = 0;
  // Size of the work area, for centring forms on the screen.
  virtual Size ScreenSize() const = 0;

  // Periodic timer of the toolkit's timer component; onTick runs on the
  // user-interface thread. Returns an identifier, 0 on failure.
  virtual std::uintptr_t StartTimer(unsigned intervalMs, std::function<void()> onTick) = 0;
  virtual void StopTimer(std::uintptr_t id) = 0;

  // Makes a HandleMessage that waits on the user-interface thread return
  // (after the stop flag was raised, possibly while a sent message was
  // handled inside the wait). Thread-safe.
  virtual void Wake() {}

  // Size of a single line of text in that font, for auto-sized labels.
  // The default is an estimate; a backend with real fonts measures.
  virtual Size MeasureText(const Font& font, const std::string& text) const;
};

}  // namespace zentra
