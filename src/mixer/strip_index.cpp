#include "mixer/strip_index.h"

namespace zentra {

void StripIndex::Add(const Control& from, Control& copy, int card) {
  if (card <= 0 || card >= kMaxCards) return;
  copies_[&from][static_cast<std::size_t>(card)] = &copy;
  origins_[&copy] = Origin{&from, card};
}

void StripIndex::Clear() {
  copies_.clear();
  origins_.clear();
}

Control* StripIndex::Copy(int card, const Control* from) const {
  if (from == nullptr || card < 0 || card >= kMaxCards) return nullptr;
  if (card == 0) return const_cast<Control*>(from);
  const auto found = copies_.find(from);
  return found == copies_.end() ? nullptr : found->second[static_cast<std::size_t>(card)];
}

StripIndex::Origin StripIndex::OriginOf(const Control& control) const {
  if (const auto found = origins_.find(&control); found != origins_.end()) return found->second;
  return Origin{&control, 0};
}

}  // namespace zentra
