// Card strips: the first card's strip is designed, each further card's is
// cloned beside it with the common fix-up (meter numbers, card index Tags,
// header and channel number captions) and the window's own; the meter
// table; and reading radio groups back from the driver's bytes.
#include <algorithm>

#include "controls/level_meter.h"
#include "mixer/mixer_window.h"
#include "toolkit/std_controls.h"
#include "winutil/clone_components.h"

namespace zentra {

void TMixerWindow::BuildCardStrips() {
  if (Cards() == 1 && headerRow_ != nullptr) HideHeaderRow();
  nextMeterNumber_ = 0;
  for (Component* c : Components())
    if (dynamic_cast<TLevelMeter*>(c) != nullptr) ++nextMeterNumber_;
  nextChannelNumber_ = nextMeterNumber_;
  stripIndex_.Clear();
  for (int card = 1; card < Cards(); ++card)
    for (const StripContainerInfo& container : info_.strips) CloneStrip(container, card);
}

void TMixerWindow::HideHeaderRow() {
  // One card needs no card names: the sections below move up into the row.
  const int h = headerRow_->Height();
  headerRow_->Hide();
  meterSection_->SetTop(meterSection_->Top() - h);
  if (settingsSection_ != nullptr && settingsSection_->GetAlign() == Align::None)
    settingsSection_->SetTop(settingsSection_->Top() - h);
  mainPanel_->SetHeight(mainPanel_->Height() - h);
  AdjustHeight(-h);
}

void TMixerWindow::CloneStrip(const StripContainerInfo& container, int card) {
  auto* panel = dynamic_cast<TPanel*>(FindComponent(container.name));
  if (panel == nullptr) return;
  panel->SetWidth(panel->Width() + info_.stripWidth);
  CloneComponents(*panel, *panel, card * info_.stripWidth, 0, [&](const Control& from, Control*& copy) {
    if (auto* meter = dynamic_cast<TLevelMeter*>(copy)) {
      meter->SetTag(nextMeterNumber_++);
    } else if (dynamic_cast<TPanel*>(copy) != nullptr || dynamic_cast<TGroupBox*>(copy) != nullptr) {
      copy->SetTag(card);
    } else if (dynamic_cast<TBevel*>(copy) != nullptr) {
      // The template's separator line already spans the widened section.
      Control* bevel = copy;
      copy = nullptr;
      Free(bevel);
      return;
    } else if (dynamic_cast<TLabel*>(copy) != nullptr) {
      if (container.labels == StripContainerInfo::Labels::CardNumber) {
        std::string caption = copy->Caption();
        if (!caption.empty()) caption.pop_back();
        copy->SetCaption(caption + std::to_string(card + 1));
      } else if (container.labels == StripContainerInfo::Labels::ChannelNumber) {
        copy->SetCaption(std::to_string(++nextChannelNumber_));
      }
    }
    FixUpClone(from, copy, card);
    if (copy != nullptr) stripIndex_.Add(from, *copy, card);
  });
}

void TMixerWindow::FillMeterTable() {
  meters_.clear();
  for (Component* c : Components()) {
    auto* meter = dynamic_cast<TLevelMeter*>(c);
    if (meter == nullptr) continue;
    if (!info_.metersByTag) {
      meters_.push_back(meter);
      continue;
    }
    const int tag = meter->Tag();
    if (tag < 0 || tag >= kMaxCards * kAdatChannelsPerCard) continue;  // no place in any window
    if (meters_.size() <= static_cast<std::size_t>(tag)) meters_.resize(static_cast<std::size_t>(tag) + 1);
    meters_[static_cast<std::size_t>(tag)] = meter;
  }
}

int TMixerWindow::CardOfControl(const Control* control) const {
  if (control == nullptr || control->Parent() == nullptr) return -1;
  const int card = control->Parent()->Tag();
  return card >= 0 && card < Cards() ? card : -1;
}

void TMixerWindow::CheckRadioGroups(const TPanel& section, const std::vector<const TPanel*>& templates,
                                    const GroupValue& value) {
  // Checking a button runs its click handler, which may send to the driver:
  // walk a copy of the list, once, so the requests come in component order.
  const std::vector<Component*> components = Components();
  for (Component* c : components) {
    auto* panel = dynamic_cast<TPanel*>(c);
    if (panel == nullptr || panel->Parent() != &section) continue;
    const StripIndex::Origin origin = stripIndex_.OriginOf(*panel);
    const auto group = std::find(templates.begin(), templates.end(), origin.from);
    const int card = origin.card;
    if (group == templates.end() || card < 0 || card >= Cards()) continue;
    const std::optional<int> wanted = value(static_cast<std::size_t>(group - templates.begin()), card);
    if (!wanted) continue;
    for (Control* child : panel->Children())
      if (auto* button = dynamic_cast<TRadioButton*>(child)) button->SetChecked(button->Tag() == *wanted);
  }
}

}  // namespace zentra
