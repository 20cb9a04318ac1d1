// A top-level window: caption, border, position, client size, icon, window
// state, show/hide/close, modal showing, per-message handlers, focus and the
// keyboard interface (Enter, Esc, Tab), built from a window description.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/handler_registry.h"
#include "toolkit/loader.h"

namespace zentra {

// Internal message: frees a form that asked to be released.
constexpr std::uint32_t CM_RELEASE = 0xB021;

class TForm : public Control {
 public:
  explicit TForm(Component* owner);
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }
  bool AcceptsChildren() const override { return true; }
  bool IsTopLevel() const override { return true; }
  TForm* AsForm() override { return this; }

  // Reads the window description of that file name (see loader.h), binds
  // the registered fields, then runs OnCreate.
  void CreateFromDescription(const std::string& fileName);
  // The same for a description with ${Name} parameters (see loader.h).
  void CreateFromDescription(const std::string& fileName, const DescriptionParameters& parameters);
  // The same from a description given as text; fileName names it in errors.
  void CreateFromDescriptionText(const std::string& fileName, const std::string& text);

  // --- look and placement ------------------------------------------------
  BorderStyle GetBorderStyle() const { return borderStyle_; }
  // Keeps the client size.
  void SetBorderStyle(BorderStyle style);
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }
  Rect ClientRect() const override;
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  WinHandle Icon() const { return icon_; }
  void SetIcon(WinHandle icon);
  WindowState GetWindowState() const { return windowState_; }
  void SetWindowState(WindowState state);

  // --- showing and closing -----------------------------------------------
  // The window is made before it is shown, so that OnShow (which may restore
  // a stored placement) runs before anything appears on the screen.
  void SetVisible(bool visible) override;
  // Runs OnClose; unless the action is None, hides (or minimises, or
  // releases) the form. A modal form gets the modal result mrCancel.
  void Close();
  // Shows the form and handles messages until it has a modal result.
  ModalResult ShowModal();
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }
  bool Modal() const { return modal_; }
  // For backends' modal loops: ends the modal state when a modal result is
  // set and the close is not refused. True when the loop must end.
  bool ModalLoopDone();
  // Frees the form once the messages queued now are handled.
  void Release();
  // Frees the form now, or, while a ReleaseDeferral of it lives, as soon as
  // the last one ends (from the message loop).
  void FreeWhenIdle();
  // True while a release asked of the form waits for a ReleaseDeferral to
  // end: the form has been closed and goes once its handlers are done. A
  // handler that showed a message box, ran a modal form or let messages
  // through checks it afterwards and stops without touching the window
  // further or sending anything more.
  bool ReleasePending() const { return releasePending_; }
  // While one of these lives, a release of the form waits: code of the form
  // that lets messages through in the middle of its work (a message box, a
  // modal form, reading its settings while it is shown) must not see the
  // form freed under it. Every event and message the form handles holds
  // one (RunGuarded with the form as origin). The release is asked again
  // when the last one ends.
  class ReleaseDeferral {
   public:
    explicit ReleaseDeferral(TForm& form) : form_(form) { ++form_.releaseDeferrals_; }
    ~ReleaseDeferral();
    ReleaseDeferral(const ReleaseDeferral&) = delete;
    ReleaseDeferral& operator=(const ReleaseDeferral&) = delete;

   private:
    TForm& form_;
  };

  // --- messages ------------------------------------------------------------
  void SetMessageHandler(std::uint32_t msg, MessageHandler handler);
  // Whether the form handles that message itself (backends forward such
  // messages to DispatchMessage and give the rest their default handling).
  bool HasMessageHandler(std::uint32_t msg) const { return messageHandlers_.count(msg) != 0; }
  // Handles a message sent or posted to the form's window.
  void DispatchMessage(Message& message) override;
  // Sends a message to the form directly; returns its result.
  std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
  // The platform's default processing of a message.
  void DefaultHandler(Message& message);

  // --- focus and keyboard --------------------------------------------------
  Control* ActiveControl() const { return active_; }
  // Moves the focus (OnExit of the old control, OnEnter of the new one).
  void SetActiveControl(Control* control);
  void ForgetControl(Control* control);
  // Focusable controls in tab order.
  std::vector<Control*> TabOrderList();

  // --- events ----------------------------------------------------------------
  NotifyEvent OnCreate;
  NotifyEvent OnShow;
  NotifyEvent OnHide;
  CloseEvent OnClose;
  NotifyEvent OnDestroy;
  NotifyEvent OnActivate;
  NotifyEvent OnDeactivate;
  KeyEvent OnKeyDown;

  // --- user input (called by the backends) -----------------------------------
  void UserCloseRequest();
  void UserActivate(bool active);
  // Enter clicks the focused or the default button, Esc the cancel button,
  // Tab moves the focus. True when the key was used.
  bool UserKeyDown(std::uint16_t key, ShiftState shift);
  // The user moved or sized the window.
  void UserMoved(int left, int top);
  void UserResized(int width, int height);

  // --- handlers and fields for window descriptions ----------------------------
  HandlerRegistry& Handlers() { return handlers_; }
  const HandlerRegistry& Handlers() const { return handlers_; }
  // Registers a method of the derived window as a named handler.
  template <class F, class... A>
  void BindHandler(const std::string& name, void (F::*method)(A...)) {
    F* self = static_cast<F*>(this);
    handlers_.Add(name, std::function<void(A...)>([self, method](A... args) {
      (self->*method)(std::forward<A>(args)...);
    }));
  }
  // Registers a field that the description's component of that name fills.
  template <class T>
  void BindField(const std::string& name, T*& field) {
    fields_.push_back({name, [&field](Component* c) {
                         T* typed = dynamic_cast<T*>(c);
                         if (typed == nullptr) return false;
                         field = typed;
                         return true;
                       },
                       false});
  }
  struct FieldBinding {
    std::string name;
    std::function<bool(Component*)> assign;
    bool bound;
  };
  std::vector<FieldBinding>& Fields() { return fields_; }

 protected:
  void VisibleChanged() override;
  void BeforeDestruction() override;
  virtual void DoCreate();
  void Resized() override;

 private:
  int releaseDeferrals_ = 0;
  bool releasePending_ = false;
  // OnCreate, then showing when the description left the window visible.
  void FinishCreation();
  void CentreOnScreen();
  Size FrameExtent() const;
  void RunHide();

  BorderStyle borderStyle_ = BorderStyle::Sizeable;
  FormPosition position_ = FormPosition::Designed;
  WinHandle icon_ = 0;
  WindowState windowState_ = WindowState::Normal;
  ModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool active_form_ = false;
  Control* active_ = nullptr;
  Control* entered_ = nullptr;
  unsigned focusSerial_ = 0;
  std::map<std::uint32_t, MessageHandler> messageHandlers_;
  HandlerRegistry handlers_;
  std::vector<FieldBinding> fields_;
};

}  // namespace zentra
