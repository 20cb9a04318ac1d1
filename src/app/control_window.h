// The control window: six check boxes switch the mixer windows on and off, a
// seventh the settings dialog, an eighth keeps every window of the program on
// top. It owns those windows and remembers in "Zudovodiv.ini" which were open.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/managed_window.h"
#include "toolkit/form.h"

namespace zentra {

class TExtCheckBox;
class TPanel;

class TMixControlWnd : public TForm {
 public:
  explicit TMixControlWnd(Component* owner);
  const char* ClassName() const override { return "TMixControlWnd"; }

  // Re-applies the stay-on-top choice; the application's and every mixer
  // window's activate and deactivate event.
  void FormActiveChanged(Component* sender);

  // The window a box controls (null when it is not open), by class name.
  TManagedForm* WindowOf(const std::string& className) const;
  // The check box of a window class (for the analog output window, which
  // clears and disables the digital and ADAT boxes).
  TExtCheckBox* CheckBoxOf(const std::string& className) const;
  // The settings dialog's copy of the driver's configuration record.
  std::array<std::uint8_t, 832>& ConfigRecord() { return configRecord_; }

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

  // Order of this table is the order in which the window-closed notice
  // compares its window with the references.
  std::vector<WindowSwitch> switches_;
  std::array<std::uint8_t, 832> configRecord_{};
};

}  // namespace zentra
