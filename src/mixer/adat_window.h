// The ADAT input and ADAT output windows: the eight ADAT channels of every
// card as peak meters, numbered on across the cards (1 to 8, 9 to 16, ...).
// They have no per-card settings and send nothing but the metering
// messages; one implementation serves both directions, and the two classes
// differ only in their data (caption, devices, main panel, meter panel
// width), which also fills in their shared window description.
#pragma once

#include "mixer/mixer_window.h"

namespace zentra {

class TScrollBox;

// What one of the two ADAT windows is, as data.
struct AdatWindowInfo {
  MixerClassInfo mixer;
  int meterPanelWidth;  // design width of pnMeters
};

class TfrmAdat : public TMixerWindow {
 public:
  // Published controls of both windows (the main panel has a name of its
  // own in each: grpInput, grpGround).
  TScrollBox* sbMeters = nullptr;
  TPanel* pnMeters = nullptr;
  TPanel* pnNumbers = nullptr;
  TPanel* MainPanel() const { return TMixerWindow::MainPanel(); }

 protected:
  TfrmAdat(Component* owner, ProgramLink& program, const AdatWindowInfo& info);
  // Loads the shared description with this class's data; called by the
  // most derived constructor.
  void BuildAdat();

 private:
  const AdatWindowInfo& adat_;
};

// "ADAT Inputs": the card's four ADAT recording devices.
class TfrmAdatInp final : public TfrmAdat {
 public:
  static const AdatWindowInfo kInfo;
  TfrmAdatInp(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmAdatInp"; }
  TPanel* grpInput = nullptr;
};

// "ADAT Outputs": the card's four ADAT playback devices.
class TfrmAdatOut final : public TfrmAdat {
 public:
  static const AdatWindowInfo kInfo;
  TfrmAdatOut(Component* owner, ProgramLink& program);
  const char* ClassName() const override { return "TfrmAdatOut"; }
  TPanel* grpGround = nullptr;
};

}  // namespace zentra
