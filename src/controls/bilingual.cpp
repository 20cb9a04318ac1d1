#include "controls/bilingual.h"

#include "toolkit/class_registry.h"

namespace zentra {

void TExtSpeedButton::SetHintGerman(const std::string& text) {
  hintGerman_ = text;
  SetHint(text);
}

void TExtSpeedButton::SetHintEnglish(const std::string& text) { hintEnglish_ = text; }

void TExtSpeedButton::SetCaptionGerman(const std::string& text) {
  captionGerman_ = text;
  SetCaption(text);
}

void TExtSpeedButton::SetCaptionEnglish(const std::string& text) { captionEnglish_ = text; }

void TExtSpeedButton::FireIfWentDown(bool wasDown) {
  if (!wasDown && Down() && OnDown && EventsAllowed()) OnDown(this);
}

void TExtSpeedButton::SetDown(bool down) {
  const bool wasDown = Down();
  TSpeedButton::SetDown(down);
  FireIfWentDown(wasDown);
}

void TExtSpeedButton::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
  const bool wasDown = Down();
  TSpeedButton::MouseUp(button, shift, x, y);
  FireIfWentDown(wasDown);
}

namespace {

using V = const PropertyValue&;

template <class T>
void RegisterCaptions(ClassRegistry& r, const char* name, const char* base) {
  r.Register<T>(name, base)
      .template Property<T>("CaptionEnglish", [](T& c, V v) { c.SetCaptionEnglish(AsString(v)); })
      .template Property<T>("CaptionGerman", [](T& c, V v) { c.SetCaptionGerman(AsString(v)); });
}

}  // namespace

void RegisterBilingualClasses() {
  ClassRegistry& r = ClassRegistry::Instance();
  if (r.Contains("TExtLabel")) return;
  RegisterCaptions<TExtLabel>(r, "TExtLabel", "TLabel");
  RegisterCaptions<TExtButton>(r, "TExtButton", "TButton");
  RegisterCaptions<TExtCheckBox>(r, "TExtCheckBox", "TCheckBox");
  RegisterCaptions<TExtRadioButton>(r, "TExtRadioButton", "TRadioButton");
  RegisterCaptions<TExtGroupBox>(r, "TExtGroupBox", "TGroupBox");
  r.Register<TExtSpeedButton>("TExtSpeedButton", "TSpeedButton")
      .Property<TExtSpeedButton>("OnDown",
                                 [](TExtSpeedButton& b, V v, LoadContext& x) {
                                   b.OnDown = x.Handler<NotifyEvent>(v);
                                 })
      .Property<TExtSpeedButton>("HintEnglish",
                                 [](TExtSpeedButton& b, V v) { b.SetHintEnglish(AsString(v)); })
      .Property<TExtSpeedButton>("HintGerman",
                                 [](TExtSpeedButton& b, V v) { b.SetHintGerman(AsString(v)); })
      .Property<TExtSpeedButton>("CaptionEnglish",
                                 [](TExtSpeedButton& b, V v) { b.SetCaptionEnglish(AsString(v)); })
      .Property<TExtSpeedButton>("CaptionGerman",
                                 [](TExtSpeedButton& b, V v) { b.SetCaptionGerman(AsString(v)); })
      .Property<TExtSpeedButton>("Down", [](TExtSpeedButton& b, V v) { b.SetDown(AsBool(v)); });
}

}  // namespace zentra
