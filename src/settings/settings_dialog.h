// The settings dialog TdlgCfg: one card's part of the driver's configuration
// record on four pages ("Clock", "Geräte", "DirectSound / GSIF",
// "Sonstiges/Info"). Every control edits a private working copy of the
// card's block; Apply hands it to the driver after asking whether the
// configuration may be changed now. ">>" steps to the next card in a stacked
// modal dialog of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "settings/config_record.h"
#include "winutil/managed_form.h"

namespace zentra {

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TPageControl;
class TPanel;
class TRadioButton;
class TTabSheet;
class TTrackBar;

class TdlgCfg : public TManagedForm {
 public:
  // record: the caller's configuration record, filled by "getconfig"; it
  // must outlive the dialog. cardIndex 0..3, cardCount 1..4.
  TdlgCfg(Component* owner, ProgramLink& program, ConfigRecordBytes& record, int cardIndex,
          int cardCount);
  ~TdlgCfg() override;
  const char* ClassName() const override { return "TdlgCfg"; }

  int CardIndex() const { return cardIndex_; }
  int CardCount() const { return cardCount_; }
  const CardConfigBlock& WorkingCopy() const { return working_; }
  bool RateEditInvalid() const { return rateEditInvalid_; }
  // The dialog of the next card while it is shown from ">>", else null.
  TdlgCfg* NextCardDialog() const { return nextDialog_; }

  // Published controls.
  TPageControl* pgConfig = nullptr;
  TTabSheet* tabClockSrc = nullptr;
  TTabSheet* tabDevices = nullptr;
  TTabSheet* tabDsnd = nullptr;
  TTabSheet* tabMisc = nullptr;
  TButton* btnNext = nullptr;
  TButton* btnCancel = nullptr;
  TButton* btnApply = nullptr;
  TButton* btnOk = nullptr;
  // Sonstiges/Info
  TCheckBox* chkNoMsgRate = nullptr;
  TCheckBox* chkNoMsgDevConflict = nullptr;
  TButton* btnInfo = nullptr;
  // Clock
  TCheckBox* chkMaster = nullptr;
  TPanel* pnSyncBus = nullptr;
  TRadioButton* chkSyncBusClock_Clock1 = nullptr;
  TRadioButton* chkSyncBusClock_Clock2 = nullptr;
  TRadioButton* chkSyncBusClock_DINP = nullptr;
  TEdit* edDefaultRate1 = nullptr;
  TEdit* edDefaultRate2 = nullptr;
  TCheckBox* chkSyncToAdat = nullptr;
  // Geräte
  TPanel* pnAnaPlay = nullptr;
  TPanel* pnDigPlay = nullptr;
  TPanel* pnDigRec = nullptr;
  TPanel* pnAdatPlay = nullptr;
  TPanel* pnAdatRec = nullptr;
  TPanel* pnAnaPlayClock = nullptr;
  TPanel* pnDigPlayClock = nullptr;
  TPanel* pnAdatPlayClock = nullptr;
  TRadioButton* btnAnaOutClock1 = nullptr;
  TRadioButton* btnAnaOutClock2 = nullptr;
  TRadioButton* btnAnaOutDREC = nullptr;
  TRadioButton* btnAnaOutSyncBus = nullptr;
  TRadioButton* btnDigOutClock1 = nullptr;
  TRadioButton* btnDigOutClock2 = nullptr;
  TRadioButton* btnDigOutDRec = nullptr;
  TRadioButton* btnDigOutSyncBus = nullptr;
  TRadioButton* btnAdatOutClock1 = nullptr;
  TRadioButton* btnAdatOutClock2 = nullptr;
  TRadioButton* btnAdatOutSyncBus = nullptr;
  TRadioButton* chkAnaOut_Autonom = nullptr;
  TRadioButton* chkAnaOut_SyncBus = nullptr;
  TRadioButton* chkAnaInp_Autonom = nullptr;
  TRadioButton* chkAnaInp_SyncBus = nullptr;
  TRadioButton* chkDigOut_Autonom = nullptr;
  TRadioButton* chkDigOut_SyncBus = nullptr;
  TRadioButton* chkDigInp_Autonom = nullptr;
  TRadioButton* chkDigInp_SyncBus = nullptr;
  TRadioButton* chkAdatOut_AllAutonom = nullptr;
  TRadioButton* chkAdatOut_AllSynchron = nullptr;
  TRadioButton* chkAdatOut_SyncBus = nullptr;
  TRadioButton* chkAdatInp_AllAutonom = nullptr;
  TRadioButton* chkAdatInp_AllSynchron = nullptr;
  TRadioButton* chkAdatInp_SyncBus = nullptr;
  // DirectSound / GSIF
  TRadioButton* btnAutoLatency = nullptr;
  TRadioButton* btnManLatency = nullptr;
  TTrackBar* barLatency = nullptr;
  TLabel* lbMs = nullptr;
  TLabel* lbMsLabel = nullptr;
  TCheckBox* chkWriteIsPlayCursor = nullptr;
  TCheckBox* chkRestricted = nullptr;
  TComboBox* boxRestrictedRes = nullptr;
  TComboBox* boxRestrictedRate = nullptr;
  TLabel* lbstereo = nullptr;
  TCheckBox* chkRestrictedDev = nullptr;
  TComboBox* boxDevices = nullptr;
  TTrackBar* tckKerning = nullptr;
  TTrackBar* tckPreload = nullptr;

 private:
  // --- dialog (settings_dialog.cpp) ------------------------------------------
  void BindDialogHandlers();
  void FillDeviceList();
  void SetGsifBars(std::int32_t kerning, std::int32_t preload);
  void LoadControls();
  bool Apply();
  bool DeviceRestrictionChanged() const;
  // A user change of a control that maps to a field.
  void EnableApply();
  void FormShow(Component* sender);
  void FormClose(Component* sender, CloseAction& action);
  void btnOkClick(Component* sender);
  void btnCancelClick(Component* sender);
  void btnApplyClick(Component* sender);
  void btnNextClick(Component* sender);
  void btnInfoClick(Component* sender);
  void chkNoMsgRateClick(Component* sender);
  void chkNoMsgDevConflictClick(Component* sender);

  // --- Clock and Geräte pages (clock_pages.cpp) --------------------------------
  void BindClockPageHandlers();
  void LoadClockPages();
  void chkMasterClick(Component* sender);
  void SyncBusClockClick(Component* sender);
  void chkSyncToADATClick(Component* sender);
  void edDefaultRate1Exit(Component* sender);
  void eddefaultRate2Exit(Component* sender);
  void edDefaultRate1Change(Component* sender);
  void edDefaultRate2Change(Component* sender);
  void ValidateRateEdit(TEdit& edit, ConfigField field);
  void RateEditChanged(TEdit& edit);
  void PlaybackStartAutonom(ConfigField outSyncBus, ConfigField bothOnSyncBus);
  void PlaybackStartSyncBus(TRadioButton& syncBusClock, ConfigField outSyncBus, ConfigField inSyncBus,
                            ConfigField bothOnSyncBus);
  void chkAnaOut_AutonomClick(Component* sender);
  void chkAnaOut_SyncBusClick(Component* sender);
  void chkDigOut_AutonomClick(Component* sender);
  void chkDigOut_SyncBusClick(Component* sender);
  void chkDigInp_AutonomClick(Component* sender);
  void chkDigInp_SyncBusClick(Component* sender);
  // ADAT start radios: Tag 0 all autonomous, 1 all synchronous, 2 SyncBus.
  void AdatStartClick(Component* sender, bool playback);
  void DigitalInputRule();
  // The enabling rules of both pages applied as a whole, from the states
  // of the controls: a control greyed by one rule stays greyed while its
  // cause holds, whichever control was clicked last.
  void ApplyEnablingRules();

  // --- DirectSound / GSIF page (dsound_page.cpp) -------------------------------
  void BindDsoundPageHandlers();
  void LoadDsoundPage();
  void SetLatencyControlsEnabled(bool enabled);
  void UpdateRestrictedFormat(bool rate, bool resolution);
  void btnAutoLatencyClick(Component* sender);
  void btnManLatencyClick(Component* sender);
  void barLatencyChange(Component* sender);
  void chkWriteIsPlayCursorClick(Component* sender);
  void chkRestrictedClick(Component* sender);
  void boxRestrictedRateChange(Component* sender);
  void boxRestrictedResChange(Component* sender);
  void chkRestrictedDevClick(Component* sender);
  void boxDevicesChange(Component* sender);
  void tckKerningChange(Component* sender);
  void tckPreloadChange(Component* sender);
  // Moves the other GSIF bar (without reaction) so the preload stays at
  // least kerning + 2, then sends both positions to the driver at once.
  void GsifBarMoved(bool kerningMoved);
  void SendGsifOnTheFly();

  ConfigRecordBytes& record_;
  const int cardIndex_;
  const int cardCount_;
  CardConfigBlock working_;
  bool okPressed_ = false;
  bool updating_ = false;
  bool rateEditInvalid_ = false;
  TdlgCfg* nextDialog_ = nullptr;
  // Cleared when the dialog is destroyed, so a ">>" that returns from the
  // next card's dialog after this one went away touches nothing of it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Makes the dialog known to the control window under "TdlgCfg": it opens on
// the control window's record, card 0 and the number of cards found.
void RegisterSettingsDialog();

}  // namespace zentra
