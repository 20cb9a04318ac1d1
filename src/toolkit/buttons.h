// Push button, check box and radio button.
#pragma once

#include "toolkit/control.h"

namespace zentra {

class TButton : public Control {
 public:
  explicit TButton(Component* owner);
  const char* ClassName() const override { return "TButton"; }
  bool IsButton() const override { return true; }

  // The default button answers Enter, the cancel button Esc.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool IsDefaultButton() const override { return default_; }
  bool IsCancelButton() const override { return cancel_; }
  // A non-zero modal result is given to the form when the button is clicked.
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result) { modalResult_ = result; }

  void Click() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  ModalResult modalResult_ = mrNone;
};

class TCheckBox : public Control {
 public:
  explicit TCheckBox(Component* owner);
  const char* ClassName() const override { return "TCheckBox"; }

  bool Checked() const { return checked_; }
  // Every change of state, by code or by the user, runs the click event.
  virtual void SetChecked(bool checked);
  // Side of the text: right of the box (RightJustify) or left of it.
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);

 protected:
  // A click toggles the box.
  void DoUserClick() override;

 private:
  bool checked_ = false;
  Alignment alignment_ = Alignment::RightJustify;
};

class TRadioButton : public Control {
 public:
  explicit TRadioButton(Component* owner);
  const char* ClassName() const override { return "TRadioButton"; }

  bool Checked() const { return checked_; }
  // Checking unchecks the radio buttons of the same parent without running
  // their events, then runs its own click event; clearing runs nothing.
  virtual void SetChecked(bool checked);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);

 protected:
  // A click checks the button.
  void DoUserClick() override;

 private:
  bool checked_ = false;
  Alignment alignment_ = Alignment::RightJustify;
};

}  // namespace zentra
