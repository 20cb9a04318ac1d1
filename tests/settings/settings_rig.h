// The control window on the simulated driver with the settings dialog, for
// driving the dialog as a user does: tick " &Einstellungen", pick a page,
// click, type, press OK. The driver's configuration record can be prepared
// before the dialog reads it, and every message box is recorded together
// with the number of configuration commands the driver had seen by then.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/control_window.h"
#include "app/program_windows.h"
#include "controls/bilingual.h"
#include "settings/config_record.h"
#include "settings/settings_dialog.h"
#include "support/call_sequence.h"
#include "support/program_rig.h"
#include "toolkit/headless/headless_driver.h"
#include "toolkit/std_controls.h"

namespace zentra::testing {

using F = ConfigField;

struct ShownBox {
  MessageBoxCall call;
  std::size_t commandsBefore;  // configuration commands the driver had seen
};

// The record the simulated driver starts with.
inline ConfigRecordBytes DefaultDriverRecord() { return sim::ConfigStore::DefaultRecord(); }

inline void SetField(ConfigRecordBytes& record, int card, ConfigField field, std::int32_t value) {
  CardConfigBlock block = CardConfigBlock::FromRecord(record, card);
  block.Set(field, value);
  block.StoreInto(record, card);
}

inline std::int32_t FieldOf(const ConfigRecordBytes& record, int card, ConfigField field) {
  return CardConfigBlock::FromRecord(record, card).Get(field);
}

inline std::int32_t FieldOf(const std::vector<std::uint8_t>& bytes, int card, ConfigField field) {
  ConfigRecordBytes record{};
  std::copy(bytes.begin(), bytes.begin() + std::min(bytes.size(), record.size()), record.begin());
  return FieldOf(record, card, field);
}

class SettingsRig {
 public:
  explicit SettingsRig(int cards = 2, const std::string& more = "")
      : rig(CardsScenario(cards, more)), ui(rig.backend()) {
    ConfigurationGate() = 1;
    savedTimeout_ = ConfigCommandTimeout();
    // A driver that never answers is given up quickly in these tests.
    SetConfigCommandTimeout(std::chrono::milliseconds(100));
    RegisterBilingualClasses();
    RegisterSettingsDialog();
    rig.user().SetMessageBoxHandler([this](const MessageBoxCall& call) {
      boxes.push_back({call, rig.Records(sim::CallRecord::Kind::ConfigCommand).size()});
      return 1;
    });
    control = new TMixControlWnd(nullptr);
    Windows().MixControlWnd = control;
  }
  ~SettingsRig() {
    rig.backend().SetModalHandler(nullptr);
    Windows().MixControlWnd = nullptr;
    FreeAndNil(control);
    FreeAndNil(Windows().AboutBox);
    SetConfigCommandTimeout(savedTimeout_);
    Application::Instance().ResetTerminated();
  }

  // What the driver hands out with the next "getconfig".
  void SetDriverRecord(const ConfigRecordBytes& record) {
    rig.driver().configStore().SetRecord(record);
  }
  ConfigRecordBytes DriverRecord() { return rig.driver().configStore().Record(); }

  // Ticks " &Einstellungen"; the dialog it opened, null if none. The
  // driver conversation and the boxes are cleared afterwards.
  TdlgCfg* Open() {
    control->chkSettings->SetChecked(true);
    ui.ProcessMessages();
    ClearLog();
    return Dialog();
  }
  // The driver's default record, changed by `prepare`, then Open(); a
  // dialog that does not open is a test error.
  TdlgCfg& OpenOn(const std::function<void(ConfigRecordBytes&)>& prepare) {
    ConfigRecordBytes record = DefaultDriverRecord();
    if (prepare) prepare(record);
    SetDriverRecord(record);
    TdlgCfg* dialog = Open();
    if (dialog == nullptr) throw std::logic_error("no settings dialog");
    return *dialog;
  }
  TdlgCfg* Dialog() const { return dynamic_cast<TdlgCfg*>(control->WindowOf("TdlgCfg")); }

  void ClearLog() {
    rig.driver().callLog().Clear();
    boxes.clear();
  }
  std::vector<sim::CallRecord> Commands() const {
    return rig.Records(sim::CallRecord::Kind::ConfigCommand);
  }
  std::vector<std::string> CommandNames() const { return rig.ConfigCommandsRun(); }

  // The last record handed to "setconfig", as the program sent it.
  std::vector<std::uint8_t> LastSetConfig() const {
    std::vector<std::uint8_t> last;
    for (const sim::CallRecord& r : Commands())
      if (r.command == "setconfig") last = r.blockBefore;
    return last;
  }

  // Selects a page of the dialog by its index, as a click on its tab.
  void Page(TdlgCfg& dialog, int index) { ui.SelectPage(*dialog.pgConfig, index); }

  ProgramRig rig;
  HeadlessDriver ui;
  TMixControlWnd* control = nullptr;
  std::vector<ShownBox> boxes;

 private:
  std::chrono::milliseconds savedTimeout_{};
};

constexpr int kClockPage = 0;
constexpr int kDevicesPage = 1;
constexpr int kDsoundPage = 2;
constexpr int kMiscPage = 3;

inline Call Cmd(const std::string& name) { return Call::Command(name); }

}  // namespace zentra::testing
