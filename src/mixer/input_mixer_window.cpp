#include "mixer/input_mixer_window.h"

#include "driver/control_messages.h"
#include "toolkit/std_controls.h"

namespace zentra {

bool TInputMixerWindow::ReadInputStates(const TPanel& section, const std::vector<const TPanel*>& templates,
                                        const std::vector<std::uint32_t>& bytes) {
  for (int card = 0; card < Cards(); ++card) {
    inputState_[card] = &AllocateBlock(kInputStateBlockSize);
    if (!inputState_[card]->Usable()) return false;
    CardHandle(0, card).Send(CTL_GET_INPUT_STATE, inputState_[card]->Address());
  }
  CheckRadioGroups(section, templates, [&](std::size_t group, int card) -> std::optional<int> {
    return inputState_[card]->Byte(bytes[group]);
  });
  return true;
}

void TInputMixerWindow::InputChoiceMade(Component* sender, std::uint32_t byte) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card < 0 || inputState_[card] == nullptr || !inputState_[card]->Usable()) return;
  Shared16Block& state = *inputState_[card];
  state.SetByte(byte, static_cast<std::uint8_t>(button->Tag()));
  CardHandle(0, card).Send(CTL_SET_INPUT_STATE, state.Word32(0));
}

}  // namespace zentra
