// What the six mixer windows do alike: one strip per card cloned from the
// designed first strip, the window's control handles and shared blocks,
// level metering driven by two multimedia timers, the option panel and its
// mirror in the system menu, persistence of options and placement, the size
// rule and closing. A window class states what differs as data (its
// MixerClassInfo) and adds its own controls and driver messages through the
// few hooks below.
//
// The window owns its handles, blocks and timers: they are released in
// FormDestroy (handles first, then blocks in allocation order) and, should
// construction fail, before the failure is passed on, with no clean-up code
// in the window classes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/control_handle.h"
#include "driver/device_tables.h"
#include "driver/shared16_block.h"
#include "mixer/meter_route.h"
#include "mixer/mixer_class_info.h"
#include "mixer/posting_timer.h"
#include "mixer/strip_index.h"
#include "winutil/managed_form.h"

namespace zentra {

class TCheckBox;
class TLevelMeter;
class TPanel;
class TBevel;

class TMixerWindow : public TManagedForm {
 public:
  static constexpr std::uint32_t kDecayPeriodMs = 40;
  static constexpr std::uint32_t kPollPeriodMs = 100;

  bool Ready() const override { return ready_; }
  const MixerClassInfo& ClassInfo() const { return info_; }

  bool MetersRunning() const { return metersRunning_; }
  std::uint32_t DecayTimerId() const { return decayTimer_.Id(); }
  std::uint32_t PollTimerId() const { return pollTimer_.Id(); }
  int FixedHeight() const { return fixedHeight_; }
  // The size limits of the class for the current card count.
  int WidestWidth() const { return info_.WidestWidth(Cards()); }
  int NarrowestWidth() const { return info_.narrowest; }
  // Meters 2d and 2d + 1 belong to metered device d; an entry may be null
  // in a table filled by Tag.
  const std::vector<TLevelMeter*>& MeterTable() const { return meters_; }
  // The handles of the window's own devices (first handle group), card-major.
  std::vector<WinHandle> ControlHandles() const;
  std::size_t ControlHandleCount() const { return groups_.empty() ? 0 : groups_[0].size(); }
  const Shared16Block& MeterLevelBlock() const { return *meterLevelBlock_; }
  WinHandle SystemMenu() const { return systemMenu_; }
  // Card's copy of one of the designed strip's controls (the control itself
  // for card 0); null when that card has none.
  template <class T>
  T* InStrip(int card, const T* designed) const {
    return static_cast<T*>(stripIndex_.Copy(card, designed));
  }
  // The command identifier of the " Info..." item.
  std::uintptr_t InfoCommandId() const;

  // Published controls every mixer window has.
  TPanel* pnChecks = nullptr;
  TCheckBox* chkPeakMeter = nullptr;

 protected:
  TMixerWindow(Component* owner, ProgramLink& program, const MixerClassInfo& info);

  // Reads the window description and runs the construction; called at the
  // end of the most derived constructor, once its handlers and fields are
  // bound. A failure releases whatever was acquired before it is passed on.
  void Build(const std::string& descriptionFile);
  // The same for a description shared by several window classes, which
  // takes the class's data as ${Name} parameters.
  void Build(const std::string& descriptionFile, const DescriptionParameters& parameters);
  // The same from a description given as text (fileName for messages).
  void BuildFromText(const std::string& fileName, const std::string& text);

  // --- hooks of the window classes (all optional) ------------------------------
  // The values the radio buttons stand for in the driver's bytes; runs
  // before the strips are cloned (and before the handles are opened).
  virtual void AssignRadioTags() {}
  // Extra fix-up of `copy`, strip `card`'s clone of the designed control
  // `from` (after the common one); setting copy to null frees nothing.
  virtual void FixUpClone(const Control& /*from*/, Control*& /*copy*/, int /*card*/) {}
  // Runs once the strips exist and the meter table is filled, before the
  // handles are opened.
  virtual void StripsBuilt() {}
  // Allocates the window's single blocks with AllocateBlock, the
  // MeterLevelBlock among them with AllocateMeterLevelBlock, in the window's
  // order. The default allocates only the MeterLevelBlock.
  virtual void AllocateSingleBlocks();
  // Per-card blocks and reading the driver's state back at showing; false
  // stops the showing with Ready false.
  virtual bool PrepareShowing() { return true; }
  // After the options are restored, before metering starts.
  virtual void OptionsRestored() {}
  // Last step of showing.
  virtual void FinishShowing() {}
  // Where metered device d is metered now. Default: on the first handle of
  // its stereo device in the first handle group.
  virtual MeterRoute RouteOf(std::size_t device) const;

  // --- services for the window classes ----------------------------------------
  int Cards() const;
  std::size_t MeteredDeviceCount() const;
  // Handle `index` of handle group `group` (card-major); an empty handle
  // when there is none.
  const ControlHandle& GroupHandle(std::size_t group, std::size_t index) const;
  // The first handle of card's channels in a group (the one that carries
  // the card's messages).
  const ControlHandle& CardHandle(std::size_t group, int card) const;
  // The card's two source metering handles (output windows): opened on
  // demand with their own direction, released with the window.
  ControlHandle& SourceHandle(int card, int side) { return sourceHandles_[card][side]; }
  const ControlHandle& SourceHandle(int card, int side) const { return sourceHandles_[card][side]; }
  // Opens a source metering handle on slot; SilentAbort when it will not open.
  void OpenSourceHandle(int card, int side, int slot, Direction direction);
  void CloseSourceHandles(int card);
  // A Shared16Block of the window (flags 0x42, fixed), released with it;
  // Ready requires every block allocated at construction.
  Shared16Block& AllocateBlock(std::uint32_t size);
  void AllocateMeterLevelBlock();

  // --- source metering of the output windows ----------------------------------
  // A change of a card's source moves its metering in two steps around the
  // driver's answer: Leave stops the card's metering and closes its source
  // handles, Enter records the new source, opens its handles and starts the
  // card's metering again (which also brings the level poll timer back).
  // A handle that will not close makes Leave throw SourceHandlesKept after
  // starting the old source's metering again on the handles that stayed: the
  // change is undone like a refused open. A handle that will not open makes
  // Enter throw SilentAbort with no handle left half open and the card's
  // metering (and the poll timer) running again on what is left.
  // RestoreSourceMetering puts the card back on a source after a failed
  // change and never fails (a source whose handles will not open then
  // meters nothing until the next change). The windows say where their
  // record of the source lies and how its handles are opened.
  struct SourceHandlesKept {};
  virtual int MeteredSource(int /*card*/) const { return 0; }
  virtual void SetMeteredSource(int /*card*/, int /*source*/) {}
  virtual void OpenSourceHandles(int /*card*/, int /*source*/) {}
  void LeaveSourceMetering(int card);
  void EnterSourceMetering(int card, int source);
  void RestoreSourceMetering(int card, int source);

  // Metering of the whole window and of one card (per-card start and stop
  // act only while metering runs; a card's start also creates the level
  // poll timer, its stop kills it).
  void StartMetering();
  void StopMetering();
  std::uint32_t StartCardMetering(int card);
  void StopCardMetering(int card);

  // Adds delta pixels to FixedHeight and then to the window height, so the
  // size limits never refuse the change.
  void AdjustHeight(int delta);
  // Shows or hides the settings section (the section check box's handler).
  void SettingsSectionToggle(TCheckBox& box);
  // The strip (card index) a control belongs to: its parent's Tag; -1 when
  // the parent carries no valid card index.
  int CardOfControl(const Control* control) const;
  // Sets the radio buttons of every strip's group panels in one walk over
  // the components, in component order: a panel in `section` that is one of
  // the templates (group g) or a card's copy of it gets the button whose Tag
  // equals value(g, card) checked; no value leaves the group as it is.
  using GroupValue = std::function<std::optional<int>(std::size_t group, int card)>;
  void CheckRadioGroups(const TPanel& section, const std::vector<const TPanel*>& templates,
                        const GroupValue& value);
  // Lets the open window of another class read its driver state again.
  void RefreshWindowOf(const std::string& className);
  void SetBounds(int left, int top, int width, int height) override;

  TPanel* MainPanel() const { return mainPanel_; }
  TPanel* SettingsSection() const { return settingsSection_; }
  TPanel* MeterSection() const { return meterSection_; }

 private:
  using HandleGroup = std::vector<ControlHandle>;

  // Shared handlers, bound by name for the window descriptions.
  void FormCreate(Component* sender);
  void FormShow(Component* sender);
  void FormClose(Component* sender, CloseAction& action);
  void FormDestroy(Component* sender);
  void chkPeakMeterClick(Component* sender);

  void AttachSections();
  void OpenHandleGroups();
  void BuildCardStrips();
  void HideHeaderRow();
  void CloneStrip(const StripContainerInfo& container, int card);
  void FillMeterTable();
  void RouteActivation();
  void ReleaseAll();
  void PollLevels();
  void ShowPeaks(const MeterRoute& route, std::size_t device);
  void OptionPanelToggle();
  void ShowMainPanelIfHidden();
  void GrowMainPanel(int delta);
  void HideMainPanelIfEmpty();
  void HideMainPanel();
  void WMLevelPoll(Message& message);
  void WMMeterDecay(Message& message);
  void WMSysCommand(Message& message);
  void WMGetMinMaxInfo(Message& message);
  void FillMinMaxInfo(MinMaxInfo& info) const;

  MixerClassInfo info_;
  TPanel* mainPanel_ = nullptr;
  TPanel* settingsSection_ = nullptr;
  TPanel* meterSection_ = nullptr;
  TPanel* headerRow_ = nullptr;
  TBevel* bvLine_ = nullptr;
  std::vector<HandleGroup> groups_;
  std::array<std::array<ControlHandle, 2>, kMaxCards> sourceHandles_;
  std::vector<std::unique_ptr<Shared16Block>> blocks_;  // in allocation order
  Shared16Block* meterLevelBlock_ = nullptr;
  std::vector<TLevelMeter*> meters_;
  StripIndex stripIndex_;  // which control is which card's copy of which
  PostingTimer decayTimer_{WM_METER_DECAY};
  PostingTimer pollTimer_{WM_LEVEL_POLL};
  bool ready_ = false;
  bool restored_ = false;  // options and placement were restored at showing
  bool metersRunning_ = false;
  int fixedHeight_ = 0;
  int nextMeterNumber_ = 0;
  int nextChannelNumber_ = 0;
  WinHandle systemMenu_ = 0;
};

}  // namespace zentra
