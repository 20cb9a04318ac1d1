// What the two stereo input windows (analog and digital input) share: one
// InputStateBlock per card, allocated and read from the driver when the
// window is shown and read back into the strips' radio groups, and the
// choices that write the card's whole input state back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mixer/mixer_window.h"

namespace zentra {

class TInputMixerWindow : public TMixerWindow {
 public:
  // Reads every card's state again and checks its buttons, as at showing.
  void ReloadFromDriver() override;

  // The card's InputStateBlock (allocated when the window is shown).
  const Shared16Block* InputStateBlock(int card) const { return inputState_[card]; }

 protected:
  using TMixerWindow::TMixerWindow;

  // Allocates each card's InputStateBlock and reads it with 0x4034; then, in
  // one walk, checks in each group panel of `section` level with
  // templates[g] the button whose Tag equals byte bytes[g] of its card's
  // block (which writes the state back through the button's handler). A
  // card whose read is refused is not read back and gets nothing written:
  // its buttons stay as they were built.
  // False when a block cannot be allocated (those allocated stay until the
  // window is destroyed).
  bool ReadInputStates(const TPanel& section, const std::vector<const TPanel*>& templates,
                       const std::vector<std::uint32_t>& bytes);
  // A radio button's handler: when it is checked, stores its Tag in `byte`
  // of its card's block and sends the card's four bytes with 0x4035. A card
  // whose state is not known (its read was refused) is read again first,
  // and written only when that read succeeds.
  void InputChoiceMade(Component* sender, std::uint32_t byte);

 private:
  // Reads the card's state into its block; false when the driver refused.
  bool ReadInputState(int card);

  // Checks the buttons of the cards whose state is known.
  void CheckInputGroups();

  // What ReadInputStates was given, for reading back again.
  const TPanel* section_ = nullptr;
  std::vector<const TPanel*> templates_;
  std::vector<std::uint32_t> bytes_;
  std::array<Shared16Block*, kMaxCards> inputState_{};
  std::array<bool, kMaxCards> stateKnown_{};
};

}  // namespace zentra
