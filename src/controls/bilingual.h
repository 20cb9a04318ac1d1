// Controls that carry an English and a German caption. The German one is
// the visible caption; the English one is stored only (nothing shows it).
#pragma once

#include <string>

#include "toolkit/buttons.h"
#include "toolkit/containers.h"
#include "toolkit/label.h"
#include "toolkit/speed_button.h"

namespace zentra {

// Adds the two captions to a toolkit control.
template <class Base>
class BilingualCaptions : public Base {
 public:
  using Base::Base;
  const std::string& CaptionEnglish() const { return captionEnglish_; }
  // Stores the text; the visible caption does not change.
  void SetCaptionEnglish(const std::string& text) { captionEnglish_ = text; }
  const std::string& CaptionGerman() const { return captionGerman_; }
  // Stores the text and makes it the visible caption.
  void SetCaptionGerman(const std::string& text) {
    captionGerman_ = text;
    this->SetCaption(text);
  }

 private:
  std::string captionEnglish_;
  std::string captionGerman_;
};

class TExtLabel : public BilingualCaptions<TLabel> {
 public:
  using BilingualCaptions::BilingualCaptions;
  const char* ClassName() const override { return "TExtLabel"; }
};

class TExtButton : public BilingualCaptions<TButton> {
 public:
  using BilingualCaptions::BilingualCaptions;
  const char* ClassName() const override { return "TExtButton"; }
};

class TExtCheckBox : public BilingualCaptions<TCheckBox> {
 public:
  using BilingualCaptions::BilingualCaptions;
  const char* ClassName() const override { return "TExtCheckBox"; }
};

class TExtRadioButton : public BilingualCaptions<TRadioButton> {
 public:
  using BilingualCaptions::BilingualCaptions;
  const char* ClassName() const override { return "TExtRadioButton"; }
};

class TExtGroupBox : public BilingualCaptions<TGroupBox> {
 public:
  using BilingualCaptions::BilingualCaptions;
  const char* ClassName() const override { return "TExtGroupBox"; }
};

// A speed button with the two captions, two hints (the German one is the
// tooltip) and OnDown, which runs on every change from up to down, whether
// the program or the user's click caused it.
class TExtSpeedButton : public TSpeedButton {
 public:
  explicit TExtSpeedButton(Component* owner) : TSpeedButton(owner) {}
  const char* ClassName() const override { return "TExtSpeedButton"; }

  virtual void SetHintGerman(const std::string& text);
  virtual void SetHintEnglish(const std::string& text);
  virtual void SetCaptionGerman(const std::string& text);
  virtual void SetCaptionEnglish(const std::string& text);
  // The toolkit's down assignment, then OnDown if the button went down.
  // Called through a TSpeedButton, the toolkit's assignment runs alone.
  virtual void SetDown(bool down);
  virtual bool Down() const { return TSpeedButton::Down(); }

  const std::string& HintGerman() const { return hintGerman_; }
  const std::string& HintEnglish() const { return hintEnglish_; }
  const std::string& CaptionGerman() const { return captionGerman_; }
  const std::string& CaptionEnglish() const { return captionEnglish_; }

  NotifyEvent OnDown;

 protected:
  void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;

 private:
  void FireIfWentDown(bool wasDown);

  std::string hintGerman_;
  std::string hintEnglish_;
  std::string captionGerman_;
  std::string captionEnglish_;
};

// Makes the six classes known to window descriptions; safe to call again.
void RegisterBilingualClasses();

}  // namespace zentra
