// The control window: six check boxes switch the mixer windows on and off, a
// seventh the settings dialog, an eighth keeps every window of the program on
// top. It owns those windows and remembers in "Zudovodiv.ini" which were open.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/form.h"
#include "winutil/managed_form.h"
#include "winutil/program_link.h"

namespace zentra {

class TExtCheckBox;
class TPanel;

class TMixControlWnd : public TForm, public ProgramLink {
 public:
  explicit TMixControlWnd(Component* owner);
  const char* ClassName() const override { return "TMixControlWnd"; }

  // What the windows it owns need of the program.
  WinHandle MixerIcon() const override;
  std::uintptr_t AboutCommandId() const override;
  void ShowAboutBox() override;
  // Re-applies the stay-on-top choice; the application's and every mixer
  // window's activate and deactivate event.
  void FormActiveChanged(Component* sender) override;
  bool StayOnTop() const override;
  void PostWindowClosed(const TManagedForm& window) override;
  // The window a box controls (null when it is not open), by class name.
  TManagedForm* WindowOf(const std::string& className) const override;
  void SetWindowAvailable(const std::string& className, bool available) override;
  // The settings dialog's copy of the driver's configuration record.
  ConfigRecordBytes& ConfigRecord() override { return configRecord_; }
  // The check box of a window class.
  TExtCheckBox* CheckBoxOf(const std::string& className) const;

  // Published controls.
  TPanel* Panel1 = nullptr;
  TPanel* Panel2 = nullptr;
  TPanel* Panel3 = nullptr;
  TExtCheckBox* chkAnalogInputs = nullptr;
  TExtCheckBox* chkDigitalInputs = nullptr;
  TExtCheckBox* chkAdatInputs = nullptr;
  TExtCheckBox* chkAnalogOutputs = nullptr;
  TExtCheckBox* chkDigitalOutputs = nullptr;
  TExtCheckBox* chkAdatOutputs = nullptr;
  TExtCheckBox* chkSettings = nullptr;
  TExtCheckBox* chkStayOnTop = nullptr;

 private:
  // One switchable window: its box, its class, its reference and the boxes
  // cleared before it opens.
  struct WindowSwitch {
    TExtCheckBox** box;
    const char* className;
    TManagedForm* window;
    std::vector<TExtCheckBox**> exclusions;
  };

  void FormCreate(Component* sender);
  void FormShow(Component* sender);
  void FormClose(Component* sender, CloseAction& action);
  void chkAnalogInputsClick(Component* sender);
  void chkDigitalInputsClick(Component* sender);
  void chkAdatInputsClick(Component* sender);
  void chkAnalogOutputsClick(Component* sender);
  void chkDigitalOutputsClick(Component* sender);
  void chkAdatOutputsClick(Component* sender);
  void chkSettingsClick(Component* sender);
  void chkStayOnTopClick(Component* sender);

  void WindowCheckBoxClick(WindowSwitch& entry);
  void CloseWindowOf(WindowSwitch& entry);
  WindowSwitch* SwitchOf(const std::string& className);
  const WindowSwitch* SwitchOf(const std::string& className) const;

  void WMTrayCallback(Message& message);
  void WMWindowClosed(Message& message);
  void WMGetMinMaxInfo(Message& message);
  void WMSysCommand(Message& message);
  // After a snapshot was loaded: every open window shows the driver's state.
  void ReloadOpenWindows();

  // Order of this table is the order in which the window-closed notice
  // compares its window with the references.
  std::vector<WindowSwitch> switches_;
  ConfigRecordBytes configRecord_{};
  bool snapshotItemsAdded_ = false;
};

}  // namespace zentra
