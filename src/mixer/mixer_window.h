// What the six mixer windows do alike: one strip per card cloned from the
// designed first strip, the window's control handles and shared blocks,
// level metering driven by two multimedia timers, the option panel and its
// mirror in the system menu, persistence of options and placement, the size
// rule and closing. A window class adds only its own controls and driver
// messages through the hooks below.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "winutil/managed_form.h"
#include "driver/control_channel.h"
#include "driver/device_tables.h"
#include "driver/shared16_block.h"
#include "mixer/mixer_class_info.h"

namespace zentra {

class TCheckBox;
class TLevelMeter;
class TPanel;
class TBevel;

class TMixerWindow : public TManagedForm {
 public:
  // Most handles a window keeps in its own table: eight per card.
  static constexpr std::size_t kHandleCapacity = kMaxCards * kAdatChannelsPerCard;
  static constexpr std::uint32_t kDecayPeriodMs = 40;
  static constexpr std::uint32_t kPollPeriodMs = 100;

  bool Ready() const override { return ready_; }
  const MixerClassInfo& ClassInfo() const { return info_; }

  bool MetersRunning() const { return metersRunning_; }
  std::uint32_t DecayTimerId() const { return decayTimer_; }
  std::uint32_t PollTimerId() const { return pollTimer_; }
  int FixedHeight() const { return fixedHeight_; }
  // The size limits of the class for the current card count.
  int WidestWidth() const { return info_.WidestWidth(CardCount); }
  int NarrowestWidth() const { return info_.narrowest; }
  const std::vector<TLevelMeter*>& MeterTable() const { return meters_; }
  // The window's own control handles, card-major (empty entries are 0).
  const std::array<WinHandle, kHandleCapacity>& ControlHandles() const { return handles_; }
  std::size_t ControlHandleCount() const { return handleCount_; }
  const Shared16Block& MeterLevelBlock() const { return meterLevelBlock_; }
  WinHandle SystemMenu() const { return systemMenu_; }
  // The command identifier of the " Info..." item.
  std::uintptr_t InfoCommandId() const;

  // Published controls every mixer window has.
  TPanel* pnChecks = nullptr;
  TCheckBox* chkPeakMeter = nullptr;
  // Bound by the stereo windows; null in windows without a header row.
  TPanel* pnHeader = nullptr;
  TBevel* bvLine = nullptr;

 protected:
  TMixerWindow(Component* owner, ProgramLink& program, const MixerClassInfo& info);

  // Reads the window description and runs the construction; called at the
  // end of the most derived constructor, once its handlers and fields are
  // bound. A failure closes whatever was opened before it is passed on.
  void Build(const std::string& descriptionFile);

  // Bound by the window class: the main panel and its two sections.
  TPanel* mainPanel_ = nullptr;
  TPanel* settingsSection_ = nullptr;  // null in windows without one
  TPanel* meterSection_ = nullptr;

  // --- hooks of the window classes -----------------------------------------
  // Sets mainPanel_, settingsSection_ and meterSection_ from the window's
  // loaded controls; runs first in the construction.
  virtual void AttachSections() = 0;
  // Opens the window's control handles (default: its own kind, channels
  // 0..handlesPerCard-1 of every card). A failure raises SilentAbort.
  virtual void OpenHandles();
  // The values the radio buttons stand for in the driver's bytes.
  virtual void AssignRadioTags() {}
  // Hides the header row for one card and clones the strips of the further
  // cards; the default serves the stereo windows.
  virtual void BuildCardStrips();
  // Extra fix-up of a cloned control of strip `card` (after the common one).
  virtual void FixUpClone(Control*& /*copy*/, int /*card*/) {}
  // Allocates the window's single blocks besides the MeterLevelBlock; false
  // when one could not be had.
  virtual bool AllocateWindowBlocks() { return true; }
  // Per-card blocks and reading the driver's state back; false stops the
  // showing with Ready false.
  virtual bool PrepareShowing() { return true; }
  // Last step of showing.
  virtual void FinishShowing() {}
  // Metering of the window's devices (the output windows meter by source).
  virtual void StartMetering();
  virtual void StopMetering();
  virtual void PollLevels();
  // Release at destruction: handles first, then blocks. Overrides release
  // their own and then call the base.
  virtual void CloseHandles();
  virtual void ReleaseBlocks();

  // --- services for the window classes ----------------------------------------
  Direction WindowDirection() const { return info_.direction; }
  // The handle that carries the messages of metered stereo device d.
  WinHandle CarryingHandle(std::size_t device) const;
  std::size_t MeteredDeviceCount() const { return handleCount_ / 2; }
  std::uint32_t SendOn(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                       std::uintptr_t dw2 = 0) const;
  // Timers of the metering; each is created only when missing. The
  // callbacks only post 1025 and 1125 to the window.
  void StartDecayTimer();
  void StartPollTimer();
  void KillPollTimer();
  void KillTimers();
  void SetMetersRunning(bool running) { metersRunning_ = running; }
  // Shows the MeterLevelBlock's two values on meters firstMeter and firstMeter + 1.
  void ShowPeaks(std::size_t firstMeter);
  // Adds delta pixels to FixedHeight and then to the window height, so the
  // size limits never refuse the change.
  void AdjustHeight(int delta);
  // Shows or hides the settings section (the section check box's handler).
  void SettingsSectionToggle(TCheckBox& box);
  // The strip (card index) a control belongs to: its parent's Tag; -1 when
  // the parent carries no valid card index.
  int CardOfControl(const Control* control) const;
  void SetBounds(int left, int top, int width, int height) override;

  // Shared handlers, bound by name for the window descriptions.
  void FormCreate(Component* sender);
  void FormShow(Component* sender);
  void FormClose(Component* sender, CloseAction& action);
  void FormDestroy(Component* sender);
  void chkPeakMeterClick(Component* sender);

  std::array<WinHandle, kHandleCapacity> handles_{};
  std::size_t handleCount_ = 0;
  Shared16Block meterLevelBlock_;
  std::vector<TLevelMeter*> meters_;

 private:
  void OptionPanelToggle();
  void ShowMainPanelIfHidden();
  void GrowMainPanel(int delta);
  void HideMainPanelIfEmpty();
  void CloneContainer(TPanel& container, int card, bool headerRow);
  void RouteActivation();
  void WMLevelPoll(Message& message);
  void WMMeterDecay(Message& message);
  void WMSysCommand(Message& message);
  void WMGetMinMaxInfo(Message& message);
  void FillMinMaxInfo(MinMaxInfo& info) const;

  MixerClassInfo info_;
  bool ready_ = false;
  bool restored_ = false;  // options and placement were restored at showing
  bool metersRunning_ = false;
  std::uint32_t decayTimer_ = 0;
  std::uint32_t pollTimer_ = 0;
  int fixedHeight_ = 0;
  int nextMeterNumber_ = 0;
  WinHandle systemMenu_ = 0;
};

}  // namespace zentra
