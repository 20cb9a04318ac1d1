#include "winutil/clone_components.h"

#include <typeindex>
#include <unordered_map>
#include <vector>

#include "controls/bilingual.h"
#include "controls/level_meter.h"
#include "controls/slider.h"
#include "toolkit/application.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

// What one template becomes: the copy, and whether it is a container whose
// template children are cloned into it.
struct Copy {
  Control* control = nullptr;
  bool container = false;
};

Copy CopyLabel(const TLabel& t, Component* owner) {
  auto* c = new TLabel(owner);
  c->SetCaption(t.Caption());
  c->SetFont(t.GetFont());
  c->SetAlignment(t.GetAlignment());
  c->SetAutoSize(t.AutoSize());
  c->SetTransparent(t.Transparent());
  return {c, false};
}

Copy CopyButton(const TButton& t, Component* owner) {
  auto* c = new TButton(owner);
  c->SetCaption(t.Caption());
  c->SetFont(t.GetFont());
  c->SetShowHint(t.ShowHint());
  c->SetHint(t.Hint());
  c->OnClick = t.OnClick;
  c->OnEnter = t.OnEnter;
  c->OnExit = t.OnExit;
  return {c, false};
}

// Both kinds of speed button. The down state is copied while the copy's
// group index is still 0, so every copy starts up.
template <class T>
void CopySpeedButtonCommon(const TSpeedButton& t, T* c, bool withVisibility) {
  c->SetCaption(t.Caption());
  c->SetFont(t.GetFont());
  c->SetAllowAllUp(t.AllowAllUp());
  c->SetDown(t.Down());
  c->SetGroupIndex(t.GroupIndex());
  c->OnClick = t.OnClick;
  c->OnDblClick = t.OnDblClick;
  c->OnMouseDown = t.OnMouseDown;
  c->OnMouseUp = t.OnMouseUp;
  c->SetLayout(t.Layout());
  c->SetMargin(t.Margin());
  c->SetNumGlyphs(t.NumGlyphs());
  c->SetSpacing(t.Spacing());
  c->SetCursor(t.GetCursor());
  c->SetShowHint(t.ShowHint());
  c->SetHint(t.Hint());
  if (withVisibility) c->SetVisible(t.Visible());
  c->SetFlat(t.Flat());
}

Copy CopyExtSpeedButton(const TExtSpeedButton& t, Component* owner) {
  auto* c = new TExtSpeedButton(owner);
  CopySpeedButtonCommon(t, c, false);
  c->OnDown = t.OnDown;
  return {c, false};
}

Copy CopySpeedButton(const TSpeedButton& t, Component* owner) {
  auto* c = new TSpeedButton(owner);
  CopySpeedButtonCommon(t, c, true);
  return {c, false};
}

// Check boxes and radio buttons: the checked state is copied before the
// handlers, so copying it runs none.
template <class T, class Template>
Copy CopyCheckable(const Template& t, Component* owner) {
  auto* c = new T(owner);
  c->SetCaption(t.Caption());
  c->SetFont(t.GetFont());
  c->SetChecked(t.Checked());
  c->OnClick = t.OnClick;
  c->OnEnter = t.OnEnter;
  c->OnExit = t.OnExit;
  c->OnMouseDown = t.OnMouseDown;
  c->OnMouseUp = t.OnMouseUp;
  c->SetShowHint(t.ShowHint());
  c->SetHint(t.Hint());
  return {c, false};
}

// The fader's settings are applied before OnChange is copied, so they fire
// no OnChange.
Copy CopySlider(const TSlider& t, Component* owner) {
  auto* c = new TSlider(owner);
  c->SetBtnHeight(t.BtnHeight());
  c->SetBtnWidth(t.BtnWidth());
  c->SetMax(t.Max());
  c->SetMin(t.Min());
  c->SetMoveRestriction(t.MoveRestriction());
  c->SetNumber(t.Number());
  c->SetBtnHeight(t.BtnHeight());
  c->SetPosition(t.Position());
  c->OnChange = t.OnChange;
  return {c, false};
}

// The copy stays in the loading state until it is placed (CloneComponents
// ends it), so its segments are built once, for its final size.
Copy CopyLevelMeter(const TLevelMeter& t, Component* owner) {
  auto* c = new TLevelMeter(owner, TLevelMeter::SegmentsWhenLoaded{});
  c->BeginLoading();
  c->SetNumLumisOrange(t.NumLumisOrange());
  c->SetNumLumisRed(t.NumLumisRed());
  c->SetLumiColor(t.LumiColor());
  c->SetLumiHeight(t.LumiHeight());
  c->SetTimerEnable(t.TimerEnable());
  c->SetTimerInterval(t.TimerInterval());
  c->SetAllOn(t.AllOn());
  c->SetLevelMax(t.GetLevelMax());
  c->SetLevelMaxHold(t.LevelMaxHold());
  c->SetLevel(t.Level());
  return {c, false};
}

Copy CopyPanel(const TPanel& t, Component* owner) {
  auto* c = new TPanel(owner);
  c->SetCaption(t.Caption());
  // A panel of its own colour (a silver meter panel) keeps it in the copy,
  // so every card's strip looks like the first.
  if (!t.ParentColor()) c->SetColor(t.GetColor());
  c->SetParentColor(t.ParentColor());
  c->SetFont(t.GetFont());
  c->SetAlign(t.GetAlign());
  c->SetBevelInner(t.BevelInner());
  c->SetBevelOuter(t.BevelOuter());
  c->SetBevelWidth(t.BevelWidth());
  c->SetWindowless(t.Windowless());
  return {c, true};
}

Copy CopyGroupBox(const TGroupBox& t, Component* owner) {
  auto* c = new TGroupBox(owner);
  c->SetAlign(t.GetAlign());
  c->SetCaption(t.Caption());
  c->SetFont(t.GetFont());
  c->SetCtl3D(t.Ctl3D());
  c->SetParentCtl3D(t.ParentCtl3D());
  return {c, true};
}

Copy CopyBevel(const TBevel& t, Component* owner) {
  auto* c = new TBevel(owner);
  c->SetAlign(t.GetAlign());
  c->SetShape(t.Shape());
  c->SetStyle(t.Style());
  return {c, false};
}

using Copier = Copy (*)(const Control& t, Component* owner);

template <class T, Copy (*copy)(const T&, Component*)>
Copy CopyAs(const Control& t, Component* owner) {
  return copy(static_cast<const T&>(t), owner);
}

// The first matching class decides; the order matters where one class is
// derived from another.
Copier FindCopier(const Control& t) {
  if (dynamic_cast<const TLabel*>(&t)) return CopyAs<TLabel, CopyLabel>;
  if (dynamic_cast<const TButton*>(&t)) return CopyAs<TButton, CopyButton>;
  if (dynamic_cast<const TExtSpeedButton*>(&t)) return CopyAs<TExtSpeedButton, CopyExtSpeedButton>;
  if (dynamic_cast<const TSpeedButton*>(&t)) return CopyAs<TSpeedButton, CopySpeedButton>;
  if (dynamic_cast<const TCheckBox*>(&t)) return CopyAs<TCheckBox, CopyCheckable<TCheckBox>>;
  if (dynamic_cast<const TExtRadioButton*>(&t))
    return CopyAs<TExtRadioButton, CopyCheckable<TExtRadioButton>>;
  if (dynamic_cast<const TRadioButton*>(&t)) return CopyAs<TRadioButton, CopyCheckable<TRadioButton>>;
  if (dynamic_cast<const TSlider*>(&t)) return CopyAs<TSlider, CopySlider>;
  if (dynamic_cast<const TLevelMeter*>(&t)) return CopyAs<TLevelMeter, CopyLevelMeter>;
  if (dynamic_cast<const TPanel*>(&t)) return CopyAs<TPanel, CopyPanel>;
  if (dynamic_cast<const TGroupBox*>(&t)) return CopyAs<TGroupBox, CopyGroupBox>;
  if (dynamic_cast<const TBevel*>(&t)) return CopyAs<TBevel, CopyBevel>;
  return nullptr;
}

// The copier is found once for each class met: a window clones hundreds of
// templates of a handful of classes, and the chain of casts compares type
// names for each miss.
Copy CopyOf(const Control& t, Component* owner) {
  static std::unordered_map<std::type_index, Copier> copiers;
  const std::type_index type(typeid(t));
  auto it = copiers.find(type);
  if (it == copiers.end()) it = copiers.emplace(type, FindCopier(t)).first;
  if (it->second == nullptr)
    throw EComponentError("CloneComponents: Komponentenklasse von " + t.Name() +
                          " nicht implementiert.");
  return it->second(t, owner);
}

Component* CopyOwner(Control& source) {
  if (TForm* form = source.ParentForm()) return form;
  return source.Owner() != nullptr ? source.Owner() : &source;
}

}  // namespace

void CloneComponents(Control& source, Control& destination, int dx, int dy,
                     const CloneCallback& onClone) {
  Component* owner = CopyOwner(source);
  // The copies in creation order; they get their parent only at the end, so
  // copies made into the source itself are never visited by this loop.
  std::vector<Control*> copies;
  const int count = source.ChildCount();
  for (int i = 0; i < count; ++i) {
    Application::Instance().ProcessMessages();
    // A handler run meanwhile may have taken children away.
    if (i >= source.ChildCount()) break;
    Control& t = *source.Children()[static_cast<std::size_t>(i)];
    if (t.Name().empty()) continue;

    Copy copy = CopyOf(t, owner);
    Control* c = copy.control;
    c->SetBounds(t.Left() + dx, t.Top() + dy, t.Width(), t.Height());
    c->SetTag(t.Tag());
    c->EndLoading();
    if (onClone) onClone(t, c);
    if (c == nullptr) continue;
    copies.push_back(c);
    if (copy.container && c == copy.control) CloneComponents(t, *c, 0, 0, onClone);
  }
  for (Control* c : copies) {
    c->SetParent(&destination);
    Application::Instance().ProcessMessages();
  }
}

}  // namespace zentra
