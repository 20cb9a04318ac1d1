// The "DirectSound / GSIF" page of the settings dialog: DirectSound latency,
// cursor handling, playback format and device restrictions (applied with
// the rest of the working copy), and the two GSIF buffer steps, which reach
// the driver at once on every move.
#include <iterator>
#include <string>

#include "driver/config_command.h"
#include "platform/platform.h"
#include "settings/settings_dialog.h"
#include "winutil/flag_scope.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using F = ConfigField;

// The items of the two format lists and the values they stand for.
constexpr std::int32_t kRestrictedRates[] = {44100, 48000};
constexpr std::int32_t kRestrictedResolutions[] = {1, 2};  // 8 bit, 16 bit
constexpr int kRate44100Item = 0;
constexpr int kResolution16BitItem = 1;

constexpr int kGsifPreloadAboveKerning = 2;

// The item that stands for the value, -1 when none does.
template <std::size_t N>
int ItemOfValue(const std::int32_t (&values)[N], std::int32_t value) {
  for (std::size_t i = 0; i < N; ++i)
    if (values[i] == value) return static_cast<int>(i);
  return -1;
}

// Selects the item that stands for the value; other values leave the list
// as it is.
template <std::size_t N>
void SelectValue(TComboBox& box, const std::int32_t (&values)[N], std::int32_t value) {
  const int item = ItemOfValue(values, value);
  if (item >= 0) box.SetItemIndex(item);
}

// The eleven scale labels of the latency bar.
constexpr const char* kLatencyScaleLabels[] = {"lb1ms",  "lb10ms", "lb20ms", "lb30ms",
                                               "lb40ms", "lb50ms", "lb60ms", "lb70ms",
                                               "lb80ms", "lb90ms", "lb100ms"};

}  // namespace

void TdlgCfg::BindDsoundPageHandlers() {
  BindHandler("btnAutoLatencyClick", &TdlgCfg::btnAutoLatencyClick);
  BindHandler("btnManLatencyClick", &TdlgCfg::btnManLatencyClick);
  BindHandler("barLatencyChange", &TdlgCfg::barLatencyChange);
  BindHandler("chkWriteIsPlayCursorClick", &TdlgCfg::chkWriteIsPlayCursorClick);
  BindHandler("chkRestrictedClick", &TdlgCfg::chkRestrictedClick);
  BindHandler("boxRestrictedRateChange", &TdlgCfg::boxRestrictedRateChange);
  BindHandler("boxRestrictedResChange", &TdlgCfg::boxRestrictedResChange);
  BindHandler("chkRestrictedDevClick", &TdlgCfg::chkRestrictedDevClick);
  BindHandler("boxDevicesChange", &TdlgCfg::boxDevicesChange);
  BindHandler("tckKerningChange", &TdlgCfg::tckKerningChange);
  BindHandler("tckPreloadChange", &TdlgCfg::tckPreloadChange);
  BindField("btnAutoLatency", btnAutoLatency);
  BindField("btnManLatency", btnManLatency);
  BindField("barLatency", barLatency);
  BindField("lbMs", lbMs);
  BindField("lbMsLabel", lbMsLabel);
  BindField("chkWriteIsPlayCursor", chkWriteIsPlayCursor);
  BindField("chkRestricted", chkRestricted);
  BindField("boxRestrictedRes", boxRestrictedRes);
  BindField("boxRestrictedRate", boxRestrictedRate);
  BindField("lbstereo", lbstereo);
  BindField("chkRestrictedDev", chkRestrictedDev);
  BindField("boxDevices", boxDevices);
  BindField("tckKerning", tckKerning);
  BindField("tckPreload", tckPreload);
}

// --- loading ---------------------------------------------------------------------------

void TdlgCfg::LoadDsoundPage() {
  chkWriteIsPlayCursor->SetChecked(working_.Flag(F::WriteIsPlayCursor));

  const std::int32_t latency = working_.Get(F::DsLatency);
  if (latency != 0) {
    barLatency->SetPosition(latency);  // the bar keeps it within 1..100
    btnManLatency->SetChecked(true);
  } else {
    btnAutoLatency->SetChecked(true);
  }
  lbMs->SetCaption(std::to_string(barLatency->Position()));

  // The lists are set before the box is checked, so that checking it
  // computes the fields from what the driver holds.
  if (working_.Get(F::RestrictedRate) != 0) {
    SelectValue(*boxRestrictedRate, kRestrictedRates, working_.Get(F::RestrictedRate));
    SelectValue(*boxRestrictedRes, kRestrictedResolutions, working_.Get(F::RestrictedResolution));
    chkRestricted->SetChecked(true);
    boxRestrictedRate->SetEnabled(true);
    boxRestrictedRes->SetEnabled(true);
    lbstereo->SetEnabled(true);
  } else {
    chkRestricted->SetChecked(false);
    boxRestrictedRate->SetEnabled(false);
    boxRestrictedRes->SetEnabled(false);
    lbstereo->SetEnabled(false);
    // The offer for a later restriction.
    boxRestrictedRate->SetItemIndex(kRate44100Item);
    boxRestrictedRes->SetItemIndex(kResolution16BitItem);
  }

  // Entry 0 is "no pair"; pair p is entry p + 1. Compared without adding,
  // since the driver's field can hold any 32-bit number.
  const std::int32_t pair = working_.Get(F::RestrictedDevicePair);
  const auto entries = static_cast<std::int32_t>(boxDevices->Items().size());
  if (pair >= -1 && pair < entries - 1) boxDevices->SetItemIndex(pair + 1);
  if (working_.Flag(F::RestrictDevices)) {
    chkRestrictedDev->SetChecked(true);
    boxDevices->SetEnabled(true);
  } else {
    boxDevices->SetEnabled(false);
  }
}

// --- DirectSound panel ------------------------------------------------------------------

void TdlgCfg::SetLatencyControlsEnabled(bool enabled) {
  lbMs->SetEnabled(enabled);
  lbMsLabel->SetEnabled(enabled);
  for (const char* name : kLatencyScaleLabels)
    if (auto* label = dynamic_cast<Control*>(FindComponent(name))) label->SetEnabled(enabled);
  barLatency->SetEnabled(enabled);
}

void TdlgCfg::btnAutoLatencyClick(Component*) {
  EnableApply();
  if (!btnAutoLatency->Checked()) return;
  working_.Set(F::DsLatency, 0);
  SetLatencyControlsEnabled(false);
}

void TdlgCfg::btnManLatencyClick(Component*) {
  EnableApply();
  if (!btnManLatency->Checked()) return;
  SetLatencyControlsEnabled(true);
  working_.Set(F::DsLatency, barLatency->Position());
}

void TdlgCfg::barLatencyChange(Component*) {
  EnableApply();
  working_.Set(F::DsLatency, barLatency->Position());
  lbMs->SetCaption(std::to_string(barLatency->Position()));
}

void TdlgCfg::chkWriteIsPlayCursorClick(Component*) {
  EnableApply();
  working_.SetFlag(F::WriteIsPlayCursor, chkWriteIsPlayCursor->Checked());
}

void TdlgCfg::UpdateRestrictedFormat(bool rate, bool resolution) {
  const bool restricted = chkRestricted->Checked();
  if (rate) {
    const int item = boxRestrictedRate->ItemIndex();
    if (!restricted) working_.Set(F::RestrictedRate, 0);
    else if (item >= 0 && item < static_cast<int>(std::size(kRestrictedRates))) working_.Set(F::RestrictedRate, kRestrictedRates[item]);
  }
  if (resolution) {
    const int item = boxRestrictedRes->ItemIndex();
    if (!restricted) working_.Set(F::RestrictedResolution, 0);
    else if (item >= 0 && item < static_cast<int>(std::size(kRestrictedResolutions)))
      working_.Set(F::RestrictedResolution, kRestrictedResolutions[item]);
  }
}

void TdlgCfg::chkRestrictedClick(Component*) {
  EnableApply();
  const bool restricted = chkRestricted->Checked();
  boxRestrictedRate->SetEnabled(restricted);
  boxRestrictedRes->SetEnabled(restricted);
  lbstereo->SetEnabled(restricted);
  UpdateRestrictedFormat(true, true);
}

void TdlgCfg::boxRestrictedRateChange(Component*) {
  EnableApply();
  UpdateRestrictedFormat(true, false);
}

void TdlgCfg::boxRestrictedResChange(Component*) {
  EnableApply();
  UpdateRestrictedFormat(false, true);
}

void TdlgCfg::chkRestrictedDevClick(Component*) {
  EnableApply();
  boxDevices->SetEnabled(chkRestrictedDev->Checked());
  working_.SetFlag(F::RestrictDevices, chkRestrictedDev->Checked());
}

void TdlgCfg::boxDevicesChange(Component*) {
  EnableApply();
  working_.Set(F::RestrictedDevicePair, boxDevices->ItemIndex() - 1);
}

// --- GSIF panel ---------------------------------------------------------------------------

void TdlgCfg::tckKerningChange(Component*) { GsifBarMoved(true); }

void TdlgCfg::tckPreloadChange(Component*) { GsifBarMoved(false); }

void TdlgCfg::GsifBarMoved(bool kerningMoved) {
  if (updating_) return;
  if (tckPreload->Position() - kGsifPreloadAboveKerning < tckKerning->Position()) {
    FlagScope updating(updating_, true);
    if (kerningMoved)
      tckPreload->SetPosition(tckKerning->Position() + kGsifPreloadAboveKerning);
    else
      tckKerning->SetPosition(tckPreload->Position() - kGsifPreloadAboveKerning);
  }
  SendGsifOnTheFly();
}

void TdlgCfg::SendGsifOnTheFly() {
  OnTheFlyBytes block = MakeOnTheFlyBlock(tckKerning->Position(), tckPreload->Position());
  // The driver takes the values at once; what it answers is not examined.
  ConfigCommand(CurrentPlatform(), ConfigurationGate(), kCmdSetConfigOnTheFly, block.data(),
                static_cast<std::int32_t>(block.size()));
}

}  // namespace zentra
