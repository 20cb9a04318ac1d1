// The mixer window's life: construction, showing, system menu, size limits,
// closing and destruction. Metering, card strips and the section layout
// have files of their own.
#include "mixer/mixer_window.h"

#include <algorithm>
#include <stdexcept>

#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "platform/platform.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"
#include "winutil/form_state.h"
#include "winutil/options_menu.h"

namespace zentra {
namespace {

constexpr const char* kIniFile = "Zudovodiv.ini";
constexpr std::int32_t kPersistentTag = -1;
// The platform keeps the low four bits of a system command for itself.
constexpr std::uintptr_t kSysCommandMask = 0xFFF0;

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
    // not run: give back what was acquired so far here.
    ReleaseAll();
    throw;
  }
}

void TMixerWindow::Build(const std::string& descriptionFile, const DescriptionParameters& parameters) {
  try {
    CreateFromDescription(descriptionFile, parameters);
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

void TMixerWindow::BuildFromText(const std::string& fileName, const std::string& text) {
  try {
    CreateFromDescriptionText(fileName, text);
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

int TMixerWindow::Cards() const { return std::clamp(CardCount, 0, kMaxCards); }

// --- construction -------------------------------------------------------------

void TMixerWindow::FormCreate(Component*) {
  AttachSections();
  SetIcon(Program().MixerIcon());
  // A window without any card has nothing to show or to control.
  if (Cards() < 1) throw SilentAbort();
  AssignRadioTags();
  fixedHeight_ = info_.designHeight;
  BuildCardStrips();
  FillMeterTable();
  StripsBuilt();
  // The handles name the window as their callback window, which makes the
  // platform windows of the window and all its controls: only now, once
  // every strip exists, so no copy is made into a live window. (Nothing
  // above talks to the driver; a device that will not open still ends the
  // construction before anything is allocated.)
  OpenHandleGroups();
  AllocateSingleBlocks();
  ready_ = meterLevelBlock_ != nullptr &&
           std::all_of(blocks_.begin(), blocks_.end(), [](const auto& b) { return b->Usable(); });
  RouteActivation();
}

void TMixerWindow::AttachSections() {
  auto panel = [this](const char* name) -> TPanel* {
    return name != nullptr ? dynamic_cast<TPanel*>(FindComponent(name)) : nullptr;
  };
  mainPanel_ = panel(info_.mainPanel);
  settingsSection_ = panel(info_.settingsSection);
  meterSection_ = panel(info_.meterSection);
  headerRow_ = panel(info_.headerRow);
  bvLine_ = dynamic_cast<TBevel*>(FindComponent("bvLine"));
  if (mainPanel_ == nullptr || meterSection_ == nullptr || pnChecks == nullptr || chkPeakMeter == nullptr)
    throw std::logic_error(std::string(info_.caption) + ": the description lacks a section of the window");
}

void TMixerWindow::OpenHandleGroups() {
  WaveApi& wave = *CurrentPlatform().wave;
  groups_.reserve(info_.handleGroups.size());
  for (const HandleGroupInfo& g : info_.handleGroups) {
    HandleGroup& group = groups_.emplace_back();
    group.reserve(static_cast<std::size_t>(Cards() * g.channelsPerCard));
    const int firstPair = FirstPairIndexOfKind(g.deviceKind, g.direction);
    for (int card = 0; card < Cards(); ++card)
      for (int channel = 0; channel < g.channelsPerCard; ++channel)
        group.emplace_back().Open(wave, Handle(), DeviceSlot(card, firstPair + channel / 2), g.direction);
  }
}

void TMixerWindow::AllocateSingleBlocks() { AllocateMeterLevelBlock(); }

Shared16Block& TMixerWindow::AllocateBlock(std::uint32_t size) {
  auto& block = blocks_.emplace_back(std::make_unique<Shared16Block>());
  block->AllocateFixed(*CurrentPlatform().wow16, size, kWindowBlockFlags);
  return *block;
}

void TMixerWindow::AllocateMeterLevelBlock() { meterLevelBlock_ = &AllocateBlock(kMeterLevelBlockSize); }

void TMixerWindow::RouteActivation() {
  NotifyEvent route = [this](Component* sender) { Program().FormActiveChanged(sender); };
  OnActivate = route;
  OnDeactivate = route;
}

std::vector<WinHandle> TMixerWindow::ControlHandles() const {
  std::vector<WinHandle> out;
  if (!groups_.empty())
    for (const ControlHandle& h : groups_[0]) out.push_back(h.Get());
  return out;
}

const ControlHandle& TMixerWindow::GroupHandle(std::size_t group, std::size_t index) const {
  static const ControlHandle kNone;
  if (group >= groups_.size() || index >= groups_[group].size()) return kNone;
  return groups_[group][index];
}

const ControlHandle& TMixerWindow::CardHandle(std::size_t group, int card) const {
  const std::size_t perCard =
      group < info_.handleGroups.size() ? static_cast<std::size_t>(info_.handleGroups[group].channelsPerCard) : 0;
  return GroupHandle(group, static_cast<std::size_t>(card) * perCard);
}

void TMixerWindow::OpenSourceHandle(int card, int side, int slot, Direction direction) {
  sourceHandles_[card][side].Open(*CurrentPlatform().wave, Handle(), slot, direction);
}

void TMixerWindow::CloseSourceHandles(int card) {
  for (ControlHandle& h : sourceHandles_[card]) h.Close();
}

void TMixerWindow::RefreshWindowOf(const std::string& className) {
  if (TManagedForm* other = Program().WindowOf(className)) other->RefreshFromDriver();
}

// --- showing --------------------------------------------------------------------

void TMixerWindow::FormShow(Component*) {
  if (!ready_) return;
  if (!PrepareShowing()) {
    ready_ = false;
    return;
  }
  // Reading the driver's state back may show a box and reading the
  // settings lets messages through: a window the control window closed
  // meanwhile goes once its showing is done, and starts nothing more.
  if (ReleasePending()) return;
  RestoreFormState(*this, kIniFile, "", kPersistentTag, true);
  if (ReleasePending()) return;
  restored_ = true;
  OptionsRestored();
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
  ReleaseAll();
}

void TMixerWindow::ReleaseAll() {
  decayTimer_.Kill();
  pollTimer_.Kill();
  for (HandleGroup& group : groups_)
    for (ControlHandle& h : group) h.Close();
  for (auto& card : sourceHandles_)
    for (ControlHandle& h : card) h.Close();
  for (auto& block : blocks_) block->Release();
}

}  // namespace zentra
