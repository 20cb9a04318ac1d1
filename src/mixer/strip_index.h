// Which control of which card's strip is the copy of which template
// control: recorded while the strips are cloned, so that a window finds a
// card's copy of one of its designed controls by asking for it, rather than
// by a key of its own (a position, a caption, a renumbered Tag). Card 0 is
// the designed strip itself.
#pragma once

#include <array>
#include <unordered_map>

#include "driver/device_tables.h"

namespace zentra {

class Control;

class StripIndex {
 public:
  // Where a control came from: the template it was copied from (itself for
  // a template) and its card.
  struct Origin {
    const Control* from = nullptr;
    int card = 0;
  };

  // Records copy as card's copy of from (card > 0).
  void Add(const Control& from, Control& copy, int card);
  void Clear();

  // Card's copy of the template; the template itself for card 0; null when
  // that card has no copy of it.
  Control* Copy(int card, const Control* from) const;
  // A recorded copy's template and card; any other control is taken as a
  // template of its own, on card 0.
  Origin OriginOf(const Control& control) const;

 private:
  std::unordered_map<const Control*, std::array<Control*, kMaxCards>> copies_;
  std::unordered_map<const Control*, Origin> origins_;
};

}  // namespace zentra
