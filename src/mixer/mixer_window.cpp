#include "mixer/mixer_window.h"

#include <algorithm>
#include <limits>

#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "controls/level_meter.h"
#include "platform/platform.h"
#include "toolkit/application.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"
#include "winutil/clone_components.h"
#include "winutil/form_state.h"
#include "winutil/options_menu.h"

namespace zentra {
namespace {

constexpr const char* kIniFile = "Zudovodiv.ini";
constexpr std::int32_t kPersistentTag = -1;
// The platform keeps the low four bits of a system command for itself.
constexpr std::uintptr_t kSysCommandMask = 0xFFF0;

// Timer callbacks run on the multimedia timer thread: they only post.
void ZENTRA_TIMER_CALLBACK DecayTimerProc(std::uint32_t timerId, std::uint32_t, std::uintptr_t window,
                                          std::uintptr_t, std::uintptr_t) {
  PostMessageToWindow(static_cast<WinHandle>(window), WM_METER_DECAY, timerId, 0);
}

void ZENTRA_TIMER_CALLBACK PollTimerProc(std::uint32_t timerId, std::uint32_t, std::uintptr_t window,
                                         std::uintptr_t, std::uintptr_t) {
  PostMessageToWindow(static_cast<WinHandle>(window), WM_LEVEL_POLL, timerId, 0);
}

// A peak value as the meters take it: the driver's unsigned 32-bit number,
// saturated to the meter's integer range.
int PeakValue(std::uint32_t raw) {
  constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  return static_cast<int>(std::min(raw, kMax));
}

}  // namespace

TMixerWindow::TMixerWindow(Component* owner, ProgramLink& program, const MixerClassInfo& info)
    : TManagedForm(owner, program), info_(info) {
  // The classes the mixer windows' descriptions use.
  RegisterBilingualClasses();
  RegisterAudioControlClasses();
  BindHandler("FormCreate", &TMixerWindow::FormCreate);
  BindHandler("FormShow", &TMixerWindow::FormShow);
  BindHandler("FormClose", &TMixerWindow::FormClose);
  BindHandler("FormDestroy", &TMixerWindow::FormDestroy);
  BindHandler("chkPeakMeterClick", &TMixerWindow::chkPeakMeterClick);
  BindField("pnChecks", pnChecks);
  BindField("chkPeakMeter", chkPeakMeter);
  SetMessageHandler(WM_LEVEL_POLL, [this](Message& m) { WMLevelPoll(m); });
  SetMessageHandler(WM_METER_DECAY, [this](Message& m) { WMMeterDecay(m); });
  SetMessageHandler(WM_SYSCOMMAND, [this](Message& m) { WMSysCommand(m); });
  SetMessageHandler(WM_GETMINMAXINFO, [this](Message& m) { WMGetMinMaxInfo(m); });
}

void TMixerWindow::Build(const std::string& descriptionFile) {
  try {
    CreateFromDescription(descriptionFile);
  } catch (...) {
    // The object never comes into being, so its destruction handling will
    // not run: give back the handles opened so far here. The blocks release
    // themselves with their members.
    KillTimers();
    CloseHandles();
    throw;
  }
}

// --- construction -------------------------------------------------------------

void TMixerWindow::FormCreate(Component*) {
  AttachSections();
  SetIcon(Program().MixerIcon());
  // A window without any card has nothing to show or to control.
  if (CardCount < 1) throw SilentAbort();
  OpenHandles();
  AssignRadioTags();
  fixedHeight_ = info_.designHeight;
  BuildCardStrips();
  meters_.clear();
  for (Component* c : Components())
    if (auto* meter = dynamic_cast<TLevelMeter*>(c)) meters_.push_back(meter);
  const bool meterBlock =
      meterLevelBlock_.AllocateFixed(*CurrentPlatform().wow16, kMeterLevelBlockSize,
                                     kWindowBlockFlags) != nullptr;
  const bool windowBlocks = AllocateWindowBlocks();
  ready_ = meterBlock && windowBlocks;
  RouteActivation();
}

void TMixerWindow::OpenHandles() {
  const int cards = std::min<int>(CardCount, kMaxCards);
  handleCount_ = static_cast<std::size_t>(cards * info_.handlesPerCard);
  OpenControlHandles(*CurrentPlatform().wave, Handle(), info_.deviceKind, info_.direction, 0,
                     info_.handlesPerCard - 1, 0, cards - 1, handles_.data(), handles_.size());
}

void TMixerWindow::BuildCardStrips() {
  if (CardCount == 1 && pnHeader != nullptr) {
    const int h = pnHeader->Height();
    pnHeader->Hide();
    meterSection_->SetTop(meterSection_->Top() - h);
    if (settingsSection_ != nullptr && settingsSection_->GetAlign() == Align::None)
      settingsSection_->SetTop(settingsSection_->Top() - h);
    mainPanel_->SetHeight(mainPanel_->Height() - h);
    AdjustHeight(-h);
  }
  nextMeterNumber_ = 0;
  for (Component* c : Components())
    if (dynamic_cast<TLevelMeter*>(c) != nullptr) ++nextMeterNumber_;
  for (int card = 1; card < std::min<int>(CardCount, kMaxCards); ++card) {
    CloneContainer(*meterSection_, card, false);
    if (settingsSection_ != nullptr) CloneContainer(*settingsSection_, card, false);
    if (pnHeader != nullptr) CloneContainer(*pnHeader, card, true);
  }
}

void TMixerWindow::CloneContainer(TPanel& container, int card, bool headerRow) {
  container.SetWidth(container.Width() + info_.stripWidth);
  CloneComponents(container, container, card * info_.stripWidth, 0, [&](Control*& copy) {
    if (auto* meter = dynamic_cast<TLevelMeter*>(copy)) {
      meter->SetTag(nextMeterNumber_++);
    } else if (dynamic_cast<TPanel*>(copy) != nullptr) {
      copy->SetTag(card);
    } else if (dynamic_cast<TBevel*>(copy) != nullptr) {
      // The template's separator line already spans the widened section.
      Control* bevel = copy;
      copy = nullptr;
      Free(bevel);
      return;
    } else if (headerRow && dynamic_cast<TLabel*>(copy) != nullptr) {
      std::string caption = copy->Caption();
      if (!caption.empty()) caption.pop_back();
      copy->SetCaption(caption + std::to_string(card + 1));
    }
    FixUpClone(copy, card);
  });
}

void TMixerWindow::RouteActivation() {
  NotifyEvent route = [this](Component* sender) { Program().FormActiveChanged(sender); };
  OnActivate = route;
  OnDeactivate = route;
}

// --- showing --------------------------------------------------------------------

void TMixerWindow::FormShow(Component*) {
  if (!ready_) return;
  if (!PrepareShowing()) {
    ready_ = false;
    return;
  }
  RestoreFormState(*this, kIniFile, "", kPersistentTag, true);
  restored_ = true;
  if (meterSection_->Visible()) StartMetering();
  if (!pnChecks->Visible()) {
    pnChecks->Show();
    OptionPanelToggle();
  }
  systemMenu_ = BuildOptionsMenu(*pnChecks, InfoCommandId(), false);
  FinishShowing();
}

std::uintptr_t TMixerWindow::InfoCommandId() const {
  const std::uintptr_t about = Program().AboutCommandId();
  return about != 0 ? about : Identity();
}

// --- metering -------------------------------------------------------------------

WinHandle TMixerWindow::CarryingHandle(std::size_t device) const {
  const std::size_t index = device * 2;
  return index < handleCount_ ? handles_[index] : kNoHandle;
}

std::uint32_t TMixerWindow::SendOn(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                                   std::uintptr_t dw2) const {
  return SendControlMessage(*CurrentPlatform().wave, info_.direction, handle, message, dw1, dw2);
}

void TMixerWindow::StartMetering() {
  if (metersRunning_) return;
  for (std::size_t d = 0; d < MeteredDeviceCount(); ++d)
    SendOn(CarryingHandle(d), info_.MeterStartMessage(), 0, 0);
  metersRunning_ = true;
  StartDecayTimer();
  StartPollTimer();
}

void TMixerWindow::StopMetering() {
  if (!metersRunning_) return;
  for (std::size_t d = 0; d < MeteredDeviceCount(); ++d)
    SendOn(CarryingHandle(d), info_.MeterStopMessage(), 0, 0);
  KillTimers();
  metersRunning_ = false;
}

void TMixerWindow::StartDecayTimer() {
  if (decayTimer_ == 0)
    decayTimer_ = CurrentPlatform().timer->timeSetEvent(kDecayPeriodMs, kDecayPeriodMs, &DecayTimerProc,
                                                        Handle(), TIME_PERIODIC);
}

void TMixerWindow::StartPollTimer() {
  if (pollTimer_ == 0)
    pollTimer_ = CurrentPlatform().timer->timeSetEvent(kPollPeriodMs, kPollPeriodMs, &PollTimerProc,
                                                       Handle(), TIME_PERIODIC);
}

void TMixerWindow::KillPollTimer() {
  if (pollTimer_ != 0) CurrentPlatform().timer->timeKillEvent(pollTimer_);
  pollTimer_ = 0;
}

void TMixerWindow::KillTimers() {
  if (decayTimer_ != 0) CurrentPlatform().timer->timeKillEvent(decayTimer_);
  decayTimer_ = 0;
  KillPollTimer();
}

void TMixerWindow::PollLevels() {
  if (!meterLevelBlock_.Usable()) return;
  for (std::size_t d = 0; d < MeteredDeviceCount(); ++d) {
    // A refused request leaves the previous device's values in the block;
    // those are shown again.
    SendOn(CarryingHandle(d), info_.PeaksMessage(), meterLevelBlock_.Address());
    ShowPeaks(d * 2);
  }
}

void TMixerWindow::ShowPeaks(std::size_t firstMeter) {
  if (firstMeter < meters_.size())
    meters_[firstMeter]->SetLevel(PeakValue(meterLevelBlock_.Word32(0)));
  if (firstMeter + 1 < meters_.size())
    meters_[firstMeter + 1]->SetLevel(PeakValue(meterLevelBlock_.Word32(4)));
}

void TMixerWindow::WMLevelPoll(Message& message) {
  PollLevels();
  message.result = 1;
}

void TMixerWindow::WMMeterDecay(Message& message) {
  for (TLevelMeter* meter : meters_) {
    Message tick = message;
    meter->DecayMessage(tick);
  }
  message.result = 1;
}

// --- layout -----------------------------------------------------------------------

void TMixerWindow::AdjustHeight(int delta) {
  fixedHeight_ += delta;
  SetHeight(Height() + delta);
}

void TMixerWindow::GrowMainPanel(int delta) {
  // A client-aligned main panel follows the window by itself; in the ADAT
  // windows the meter section is the main panel and keeps its own height.
  if (mainPanel_ == meterSection_ || mainPanel_->GetAlign() == Align::Client) return;
  mainPanel_->SetHeight(mainPanel_->Height() + delta);
}

void TMixerWindow::OptionPanelToggle() {
  if (pnChecks->Visible()) {
    pnChecks->Hide();
    AdjustHeight(-pnChecks->Height());
    pnChecks->SetAlign(Align::None);
    mainPanel_->SetAlign(Align::Client);
  } else {
    mainPanel_->SetAlign(Align::Top);
    AdjustHeight(pnChecks->Height());
    pnChecks->SetAlign(Align::Client);
    pnChecks->Show();
  }
  UpdateOptionsMenuItem(pnChecks);
}

void TMixerWindow::ShowMainPanelIfHidden() {
  if (mainPanel_->Visible()) return;
  mainPanel_->Show();
  AdjustHeight(mainPanel_->Height());
  if (!pnChecks->Visible()) mainPanel_->SetAlign(Align::Client);
}

void TMixerWindow::HideMainPanelIfEmpty() {
  const bool settingsShown = settingsSection_ != nullptr && settingsSection_->Visible();
  if (meterSection_->Visible() || settingsShown || !mainPanel_->Visible()) return;
  mainPanel_->SetAlign(Align::Top);
  mainPanel_->Hide();
  AdjustHeight(-mainPanel_->Height());
}

void TMixerWindow::chkPeakMeterClick(Component*) {
  UpdateOptionsMenuItem(chkPeakMeter);
  const int h = meterSection_->Height();
  if (chkPeakMeter->Checked()) {
    ShowMainPanelIfHidden();
    if (!meterSection_->Visible()) {
      meterSection_->Show();
      if (bvLine != nullptr) bvLine->Show();
      AdjustHeight(h);
      GrowMainPanel(h);
    }
    StartMetering();
  } else {
    StopMetering();
    if (meterSection_->Visible()) {
      meterSection_->Hide();
      if (bvLine != nullptr) bvLine->Hide();
      GrowMainPanel(-h);
      AdjustHeight(-h);
    }
    HideMainPanelIfEmpty();
  }
}

void TMixerWindow::SettingsSectionToggle(TCheckBox& box) {
  UpdateOptionsMenuItem(&box);
  if (settingsSection_ == nullptr) return;
  const int h = settingsSection_->Height();
  if (box.Checked()) {
    ShowMainPanelIfHidden();
    if (settingsSection_->Visible()) return;
    settingsSection_->Show();
    meterSection_->SetTop(meterSection_->Top() + h);
    AdjustHeight(h);
    GrowMainPanel(h);
  } else {
    if (settingsSection_->Visible()) {
      settingsSection_->Hide();
      meterSection_->SetTop(meterSection_->Top() - h);
      GrowMainPanel(-h);
      AdjustHeight(-h);
    }
    HideMainPanelIfEmpty();
  }
}

int TMixerWindow::CardOfControl(const Control* control) const {
  if (control == nullptr || control->Parent() == nullptr) return -1;
  const int card = control->Parent()->Tag();
  return card >= 0 && card < std::min<int>(CardCount, kMaxCards) ? card : -1;
}

// --- system menu and size limits ---------------------------------------------------

void TMixerWindow::WMSysCommand(Message& message) {
  DefaultHandler(message);
  const std::uintptr_t command = message.wParam & kSysCommandMask;
  for (Control* child : pnChecks->Children()) {
    auto* box = dynamic_cast<TCheckBox*>(child);
    if (box != nullptr && command == box->Identity()) {
      box->SetChecked(!box->Checked());
      return;
    }
  }
  if (command == pnChecks->Identity()) {
    OptionPanelToggle();
  } else if (command == InfoCommandId()) {
    Program().ShowAboutBox();
  }
}

void TMixerWindow::FillMinMaxInfo(MinMaxInfo& info) const {
  const int widest = WidestWidth();
  info.ptMaxSize = {widest, fixedHeight_};
  info.ptMaxPosition = {0, 0};
  info.ptMinTrackSize = {info_.narrowest, fixedHeight_};
  info.ptMaxTrackSize = {widest, fixedHeight_};
}

void TMixerWindow::WMGetMinMaxInfo(Message& message) {
  auto* info = reinterpret_cast<MinMaxInfo*>(message.lParam);
  if (ready_ && info != nullptr) FillMinMaxInfo(*info);
  message.result = 0;
}

void TMixerWindow::SetBounds(int left, int top, int width, int height) {
  // The same limits the platform applies through WM_GETMINMAXINFO, so every
  // size change (restored, the user's, the window's own) obeys them.
  if (ready_) {
    MinMaxInfo info{};
    FillMinMaxInfo(info);
    width = std::clamp(width, static_cast<int>(info.ptMinTrackSize.x),
                       std::max(static_cast<int>(info.ptMinTrackSize.x),
                                static_cast<int>(info.ptMaxTrackSize.x)));
    height = fixedHeight_;
  }
  TManagedForm::SetBounds(left, top, width, height);
}

// --- closing and destruction ---------------------------------------------------------

void TMixerWindow::FormClose(Component*, CloseAction&) {
  // A window that never restored its options keeps the stored ones.
  if (restored_) SaveFormState(*this, kIniFile, "", kPersistentTag, true);
  StopMetering();
  PostWindowClosed();
}

void TMixerWindow::FormDestroy(Component*) {
  // A window destroyed without being closed (its owner went first) stops
  // its metering here, so no timer outlives it.
  StopMetering();
  KillTimers();
  CloseHandles();
  ReleaseBlocks();
}

void TMixerWindow::CloseHandles() {
  CloseControlHandles(*CurrentPlatform().wave, info_.direction, handleCount_, handles_.data());
}

void TMixerWindow::ReleaseBlocks() { meterLevelBlock_.Release(); }

}  // namespace zentra
