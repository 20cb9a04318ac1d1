// The analog input window: for each card's analog recording device where its
// signal is monitored (analog or digital output), when monitoring is active
// (never, while recording, while punch recording) and the input peak meters.
#pragma once

#include "mixer/input_mixer_window.h"

namespace zentra {

class TRadioButton;
class TScrollBox;

class TfrmAnalogInp : public TInputMixerWindow {
 public:
  static const MixerClassInfo kClassInfo;

  TfrmAnalogInp(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmAnalogInp"; }

  // Published controls.
  TPanel* grpInput = nullptr;
  TScrollBox* sbStrips = nullptr;
  TPanel* pnHeader = nullptr;
  TPanel* pnInpMon = nullptr;
  TBevel* bvLine = nullptr;
  TPanel* pnMeters = nullptr;
  TPanel* pnRouteParent = nullptr;
  TPanel* pnWhenToMonParent = nullptr;
  TRadioButton* btnAnaMon = nullptr;
  TRadioButton* btnDigMon = nullptr;
  TRadioButton* btnNever = nullptr;
  TRadioButton* btnOnRec = nullptr;
  TRadioButton* btnOnPunch = nullptr;
  TCheckBox* chkRouting = nullptr;

 protected:
  void AssignRadioTags() override;
  bool PrepareShowing() override;

 private:
  // Bytes of the InputStateBlock.
  static constexpr std::uint32_t kMonitorDestinationByte = 1;
  static constexpr std::uint32_t kMonitorActivityByte = 2;

  void btnPunchRouteClick(Component* sender);
  void btnWhenToMonClick(Component* sender);
  void chkRoutingClick(Component* sender);
};

}  // namespace zentra
