#include "settings/settings_dialog.h"

#include <algorithm>
#include <string>

#include "controls/bilingual.h"
#include "driver/config_command.h"
#include "driver/device_tables.h"
#include "platform/platform.h"
#include "winutil/flag_scope.h"
#include "toolkit/application.h"
#include "toolkit/std_controls.h"
#include "winutil/window_control.h"

namespace zentra {
namespace {

constexpr int kNextDialogOffset = 24;

constexpr const char* kRestartNotice =
    "Sie müssen Windows neu starten, damit die Änderungen zu den verfügbaren "
    "DirectSound-Geräten übernommen werden.";
constexpr const char* kRestartNoticeCaption = "Zentra Info";
constexpr const char* kNotReconfigurable =
    "Die Einstellungen des Zentra Treibers können derzeit nicht geändert werden.\r\n"
    "Beenden Sie erst alle Anwendungen, welche die Zentra verwenden.";
constexpr const char* kNotReconfigurableCaption = "Fehler";

// The suffix of a card's device names: none for the first card.
constexpr const char* kCardSuffix[kConfigRecordCards] = {"", "II", "III", "IV"};

// Runs a configuration command on a record; true when the driver completed it.
template <class Record>
bool RunCommand(std::uint32_t command, Record& record) {
  return ConfigCommand(CurrentPlatform(), ConfigurationGate(), command, record.data(),
                       static_cast<std::int32_t>(record.size())) != 0;
}

}  // namespace

TdlgCfg::TdlgCfg(Component* owner, ProgramLink& program, ConfigRecordBytes& record,
                 int cardIndex, int cardCount)
    : TManagedForm(owner, program),
      record_(record),
      cardIndex_(std::clamp(cardIndex, 0, kConfigRecordCards - 1)),
      cardCount_(std::clamp(cardCount, 1, kConfigRecordCards)) {
  RegisterBilingualClasses();
  BindDialogHandlers();
  BindClockPageHandlers();
  BindDsoundPageHandlers();
  CreateFromDescription("settings_dialog.wnd");

  working_ = CardConfigBlock::FromRecord(record_, cardIndex_);
  okPressed_ = false;
  SetCaption("Zentra Einstellungen Karte #" + std::to_string(cardIndex_ + 1));
  if (cardIndex_ + 1 >= cardCount_) btnNext->SetEnabled(false);
  FillDeviceList();
  SetGsifBars(working_.Get(ConfigField::GsifKerning), working_.Get(ConfigField::GsifPreload));
  btnApply->SetEnabled(false);
}

TdlgCfg::~TdlgCfg() {
  *alive_ = false;
  // The next card's dialog runs its modal loop further up the stack: let it
  // end; the ">>" that opened it frees it once the loop has returned.
  if (nextDialog_ != nullptr) nextDialog_->SetModalResult(mrCancel);
}

void TdlgCfg::BindDialogHandlers() {
  BindHandler("FormShow", &TdlgCfg::FormShow);
  BindHandler("FormClose", &TdlgCfg::FormClose);
  BindHandler("btnOkClick", &TdlgCfg::btnOkClick);
  BindHandler("btnCancelClick", &TdlgCfg::btnCancelClick);
  BindHandler("btnApplyClick", &TdlgCfg::btnApplyClick);
  BindHandler("btnNextClick", &TdlgCfg::btnNextClick);
  BindHandler("btnInfoClick", &TdlgCfg::btnInfoClick);
  BindHandler("chkNoMsgRateClick", &TdlgCfg::chkNoMsgRateClick);
  BindHandler("chkNoMsgDevConflictClick", &TdlgCfg::chkNoMsgDevConflictClick);
  BindField("pgConfig", pgConfig);
  BindField("tabClockSrc", tabClockSrc);
  BindField("tabDevices", tabDevices);
  BindField("tabDsnd", tabDsnd);
  BindField("tabMisc", tabMisc);
  BindField("btnNext", btnNext);
  BindField("btnCancel", btnCancel);
  BindField("btnApply", btnApply);
  BindField("btnOk", btnOk);
  BindField("chkNoMsgRate", chkNoMsgRate);
  BindField("chkNoMsgDevConflict", chkNoMsgDevConflict);
  BindField("btnInfo", btnInfo);
}

// --- creation and loading ------------------------------------------------------

void TdlgCfg::FillDeviceList() {
  const std::string suffix = kCardSuffix[cardIndex_];
  std::vector<std::string> items = {"Kein Gerät verfügbar", "Analog Playback " + suffix,
                                    "Digital Playback " + suffix};
  for (int pair = 0; pair < 4; ++pair) {
    const int first = kAdatChannelsPerCard * cardIndex_ + 2 * pair + 1;
    items.push_back("ADAT Playback " + std::to_string(first) + "-" + std::to_string(first + 1));
  }
  boxDevices->SetItems(items);
}

void TdlgCfg::SetGsifBars(std::int32_t kerning, std::int32_t preload) {
  FlagScope updating(updating_, true);
  tckKerning->SetPosition(kerning);
  tckPreload->SetPosition(preload);
}

void TdlgCfg::LoadControls() {
  chkNoMsgRate->SetChecked(working_.Get(ConfigField::ShowRateConflictMessages) == 0);
  chkNoMsgDevConflict->SetChecked(working_.Get(ConfigField::ShowDeviceConflictMessages) == 0);
  LoadClockPages();
  LoadDsoundPage();
}

void TdlgCfg::FormShow(Component*) { LoadControls(); }

void TdlgCfg::EnableApply() { btnApply->SetEnabled(true); }

// --- Apply -------------------------------------------------------------------------

bool TdlgCfg::DeviceRestrictionChanged() const {
  const CardConfigBlock driverBlock = CardConfigBlock::FromRecord(record_, cardIndex_);
  return working_.Flag(ConfigField::RestrictDevices) != driverBlock.Flag(ConfigField::RestrictDevices) ||
         working_.Get(ConfigField::RestrictedDevicePair) !=
             driverBlock.Get(ConfigField::RestrictedDevicePair);
}

bool TdlgCfg::Apply() {
  edDefaultRate1Exit(edDefaultRate1);
  eddefaultRate2Exit(edDefaultRate2);
  if (rateEditInvalid_) return false;  // the red edit shows what is wrong

  Application& app = Application::Instance();
  if (DeviceRestrictionChanged()) {
    app.MessageBox(kRestartNotice, kRestartNoticeCaption, MB_ICONINFORMATION, Handle());
    // Switched off while the notice was up: the dialog goes once this
    // handler is done, and nothing the user did not confirm is applied.
    if (ReleasePending()) return false;
  }

  working_.Set(ConfigField::GsifKerning, tckKerning->Position());
  working_.Set(ConfigField::GsifPreload, tckPreload->Position());

  std::array<std::uint8_t, 4> answer{};
  bool taken = RunCommand(kCmdReconfigurable, answer) &&
               (answer[0] | answer[1] | answer[2] | answer[3]) != 0;
  if (taken) {
    // The driver gets a copy with the new block; the program's record takes
    // it only once the driver has, so it never holds a configuration the
    // driver refused.
    ConfigRecordBytes proposed = record_;
    working_.StoreInto(proposed, cardIndex_);
    taken = RunCommand(kCmdSetConfig, proposed);
    if (taken) record_ = proposed;
  }
  if (!taken) {
    app.MessageBox(kNotReconfigurable, kNotReconfigurableCaption, MB_ICONERROR, Handle());
    return false;
  }
  if (RunCommand(kCmdGetConfig, record_)) LoadControls();
  return true;
}

// --- buttons and closing -----------------------------------------------------------

void TdlgCfg::btnApplyClick(Component*) {
  if (Apply()) btnApply->SetEnabled(false);
}

void TdlgCfg::btnOkClick(Component*) {
  okPressed_ = true;
  Close();
}

void TdlgCfg::btnCancelClick(Component*) { Close(); }

void TdlgCfg::FormClose(Component*, CloseAction& action) {
  if (okPressed_) {
    okPressed_ = false;
    if (!Apply()) {
      // Stays open with the user's edits (unless the control window closed
      // it meanwhile, which hid it already).
      action = CloseAction::None;
      return;
    }
  }
  // The next card's dialog runs its modal loop from our ">>" handler: it
  // ends with us (this dialog is freed once that handler has returned).
  if (nextDialog_ != nullptr) nextDialog_->SetModalResult(mrCancel);
  // A dialog the control window closes after it was hidden needs no notice.
  if (Visible()) PostWindowClosed();
}

void TdlgCfg::btnNextClick(Component*) {
  if (cardIndex_ + 1 >= cardCount_) return;
  const std::shared_ptr<bool> alive = alive_;
  std::unique_ptr<TdlgCfg, ComponentDeleter> next(
      new TdlgCfg(nullptr, Program(), record_, cardIndex_ + 1, cardCount_));
  next->SetPosition(FormPosition::Designed);
  next->SetBounds(Left() + kNextDialogOffset, Top() + kNextDialogOffset, next->Width(),
                  next->Height());
  // Owned by no window, it is not among the control window's windows that
  // stay on top: it follows the choice itself when it is shown and whenever
  // it is activated, so it is never hidden below this dialog.
  TdlgCfg* stacked = next.get();
  ProgramLink& program = Program();
  next->OnActivate = [stacked, &program](Component*) {
    if (program.StayOnTop()) SetStayOnTop(*stacked, true);
  };
  if (program.StayOnTop()) SetStayOnTop(*stacked, true);
  nextDialog_ = next.get();
  try {
    next->ShowModal();
  } catch (...) {
    if (*alive) nextDialog_ = nullptr;
    throw;
  }
  if (*alive) nextDialog_ = nullptr;
}

void TdlgCfg::btnInfoClick(Component*) { Program().ShowAboutBox(); }

// --- Sonstiges/Info -------------------------------------------------------------------

void TdlgCfg::chkNoMsgRateClick(Component*) {
  EnableApply();
  working_.SetFlag(ConfigField::ShowRateConflictMessages, !chkNoMsgRate->Checked());
}

void TdlgCfg::chkNoMsgDevConflictClick(Component*) {
  EnableApply();
  working_.SetFlag(ConfigField::ShowDeviceConflictMessages, !chkNoMsgDevConflict->Checked());
}

// --- registration -----------------------------------------------------------------

void RegisterSettingsDialog() {
  RegisterManagedWindowClass("TdlgCfg", [](Component* owner, ProgramLink& program) -> TManagedForm* {
    return new TdlgCfg(owner, program, program.ConfigRecord(), 0, CardCount);
  });
}

}  // namespace zentra
