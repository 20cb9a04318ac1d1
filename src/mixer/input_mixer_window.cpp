#include "mixer/input_mixer_window.h"

#include "driver/control_messages.h"
#include "toolkit/std_controls.h"

namespace zentra {

bool TInputMixerWindow::ReadInputStates(const TPanel& section, const std::vector<const TPanel*>& templates,
                                        const std::vector<std::uint32_t>& bytes) {
  section_ = &section;
  templates_ = templates;
  bytes_ = bytes;
  for (int card = 0; card < Cards(); ++card) {
    inputState_[card] = &AllocateBlock(kInputStateBlockSize);
    if (!inputState_[card]->Usable()) return false;
    ReadInputState(card);
  }
  CheckInputGroups();
  return true;
}

void TInputMixerWindow::ReloadFromDriver() {
  if (section_ == nullptr) return;  // not shown yet
  for (int card = 0; card < Cards(); ++card) {
    if (inputState_[card] == nullptr || !inputState_[card]->Usable()) return;
    ReadInputState(card);
  }
  CheckInputGroups();
}

void TInputMixerWindow::CheckInputGroups() {
  CheckRadioGroups(*section_, templates_, [&](std::size_t group, int card) -> std::optional<int> {
    // A block the driver did not fill holds nothing of the card's.
    if (!stateKnown_[card]) return std::nullopt;
    return inputState_[card]->Byte(bytes_[group]);
  });
}

bool TInputMixerWindow::ReadInputState(int card) {
  stateKnown_[card] =
      CardHandle(0, card).Send(CTL_GET_INPUT_STATE, inputState_[card]->Address()) == MMSYSERR_NOERROR;
  return stateKnown_[card];
}

void TInputMixerWindow::InputChoiceMade(Component* sender, std::uint32_t byte) {
  auto* button = dynamic_cast<TRadioButton*>(sender);
  if (button == nullptr || !button->Checked()) return;
  const int card = CardOfControl(button);
  if (card < 0 || inputState_[card] == nullptr || !inputState_[card]->Usable()) return;
  // The other bytes go back as they are: they must be the card's own.
  if (!stateKnown_[card] && !ReadInputState(card)) return;
  Shared16Block& state = *inputState_[card];
  state.SetByte(byte, static_cast<std::uint8_t>(button->Tag()));
  CardHandle(0, card).Send(CTL_SET_INPUT_STATE, state.Word32(0));
}

}  // namespace zentra
