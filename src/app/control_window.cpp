#include "app/control_window.h"

#include <exception>

#include "app/about_box.h"
#include "app/program_windows.h"
#include "app/snapshot_commands.h"
#include "controls/bilingual.h"
#include "driver/config_command.h"
#include "driver/device_tables.h"
#include "driver/discovery.h"
#include "toolkit/application.h"
#include "platform/silent_abort.h"
#include "toolkit/std_controls.h"
#include "winutil/form_state.h"
#include "winutil/options_menu.h"
#include "winutil/window_control.h"

namespace zentra {
namespace {
constexpr const char* kIniFile = "Zudovodiv.ini";
constexpr int kFixedWidth = 167;
constexpr int kFixedHeight = 195;
}  // namespace

TMixControlWnd::TMixControlWnd(Component* owner) : TForm(owner) {
  RegisterBilingualClasses();
  BindHandler("FormCreate", &TMixControlWnd::FormCreate);
  BindHandler("FormShow", &TMixControlWnd::FormShow);
  BindHandler("FormClose", &TMixControlWnd::FormClose);
  BindHandler("chkAnalogInputsClick", &TMixControlWnd::chkAnalogInputsClick);
  BindHandler("chkDigitalInputsClick", &TMixControlWnd::chkDigitalInputsClick);
  BindHandler("chkAdatInputsClick", &TMixControlWnd::chkAdatInputsClick);
  BindHandler("chkAnalogOutputsClick", &TMixControlWnd::chkAnalogOutputsClick);
  BindHandler("chkDigitalOutputsClick", &TMixControlWnd::chkDigitalOutputsClick);
  BindHandler("chkAdatOutputsClick", &TMixControlWnd::chkAdatOutputsClick);
  BindHandler("chkSettingsClick", &TMixControlWnd::chkSettingsClick);
  BindHandler("chkStayOnTopClick", &TMixControlWnd::chkStayOnTopClick);
  BindHandler("FormActiveChanged", &TMixControlWnd::FormActiveChanged);
  BindField("Panel1", Panel1);
  BindField("Panel2", Panel2);
  BindField("Panel3", Panel3);
  BindField("chkAnalogInputs", chkAnalogInputs);
  BindField("chkDigitalInputs", chkDigitalInputs);
  BindField("chkAdatInputs", chkAdatInputs);
  BindField("chkAnalogOutputs", chkAnalogOutputs);
  BindField("chkDigitalOutputs", chkDigitalOutputs);
  BindField("chkAdatOutputs", chkAdatOutputs);
  BindField("chkSettings", chkSettings);
  BindField("chkStayOnTop", chkStayOnTop);

  switches_ = {
      {&chkAnalogInputs, "TfrmAnalogInp", nullptr, {}},
      {&chkAnalogOutputs, "TfrmAnalogOut", nullptr, {}},
      {&chkDigitalInputs, "TfrmDigInp", nullptr, {&chkAdatInputs, &chkAdatOutputs}},
      {&chkDigitalOutputs, "TfrmDigOut", nullptr, {&chkAdatInputs, &chkAdatOutputs}},
      {&chkAdatInputs, "TfrmAdatInp", nullptr, {&chkDigitalOutputs, &chkDigitalInputs}},
      {&chkAdatOutputs, "TfrmAdatOut", nullptr, {&chkDigitalOutputs, &chkDigitalInputs}},
      {&chkSettings, "TdlgCfg", nullptr, {}},
  };

  SetMessageHandler(WM_TRAY_CALLBACK, [this](Message& m) { WMTrayCallback(m); });
  SetMessageHandler(WM_WINDOW_CLOSED, [this](Message& m) { WMWindowClosed(m); });
  SetMessageHandler(WM_GETMINMAXINFO, [this](Message& m) { WMGetMinMaxInfo(m); });
  SetMessageHandler(WM_SYSCOMMAND, [this](Message& m) { WMSysCommand(m); });
  CreateFromDescription("control_window.wnd");
}

void TMixControlWnd::FormCreate(Component*) {
  try {
    Discover(CurrentPlatform());
  } catch (...) {
    // A name the discovery cannot read, or a device that will not open: the
    // standard error report tells (a silent abort tells nothing) and the
    // window stays as designed.
    Application::Instance().ShowException(std::current_exception());
    return;
  }
  SetCaption("Zentra");
  SetIcon(Windows().trayIcon);
  if (!DriverOpen) {
    Application::Instance().MessageBox("Zentra Treiber konnte nicht geöffnet werden.", "Fehler",
                                       MB_ICONERROR, Handle());
    for (Component* c : Components())
      if (auto* control = dynamic_cast<Control*>(c)) control->SetEnabled(false);
  }
  Application& app = Application::Instance();
  app.OnActivate = [this](Component* sender) { FormActiveChanged(sender); };
  app.OnDeactivate = [this](Component* sender) { FormActiveChanged(sender); };
}

void TMixControlWnd::FormShow(Component*) {
  if (!DriverOpen) return;
  RestoreFormState(*this, kIniFile, "", -1, true);
  if (!snapshotItemsAdded_)
    snapshotItemsAdded_ = AppendSystemMenuItems(*this, {kSaveSnapshotItem, kLoadSnapshotItem}) != 0;
}

void TMixControlWnd::FormClose(Component*, CloseAction&) {
  if (!DriverOpen) return;
  SaveFormState(*this, kIniFile, "", -1, true);
  for (TExtCheckBox* box : {chkAnalogInputs, chkDigitalInputs, chkAdatInputs, chkAnalogOutputs,
                            chkDigitalOutputs, chkAdatOutputs, chkStayOnTop, chkSettings})
    if (box != nullptr) box->SetChecked(false);
}

void TMixControlWnd::FormActiveChanged(Component*) {
  if (Windows().MixControlWnd != nullptr) chkStayOnTopClick(this);
}

void TMixControlWnd::chkAnalogInputsClick(Component*) { WindowCheckBoxClick(switches_[0]); }
void TMixControlWnd::chkAnalogOutputsClick(Component*) { WindowCheckBoxClick(switches_[1]); }
void TMixControlWnd::chkDigitalInputsClick(Component*) { WindowCheckBoxClick(switches_[2]); }
void TMixControlWnd::chkDigitalOutputsClick(Component*) { WindowCheckBoxClick(switches_[3]); }
void TMixControlWnd::chkAdatInputsClick(Component*) { WindowCheckBoxClick(switches_[4]); }
void TMixControlWnd::chkAdatOutputsClick(Component*) { WindowCheckBoxClick(switches_[5]); }

void TMixControlWnd::WindowCheckBoxClick(WindowSwitch& entry) {
  TExtCheckBox* box = *entry.box;
  if (box->Checked() && entry.window == nullptr) {
    for (TExtCheckBox** other : entry.exclusions) (*other)->SetChecked(false);
    const ManagedFormFactory* factory = FindManagedWindowClass(entry.className);
    if (factory == nullptr) {
      box->SetChecked(false);  // this window class is not part of the program
    } else {
      try {
        entry.window = (*factory)(this, *this);
      } catch (const SilentAbort&) {
        box->SetChecked(false);
      } catch (...) {
        box->SetChecked(false);
        throw;  // to the standard error report
      }
      if (entry.window != nullptr) {
        if (!box->Checked()) {
          // Cleared while the window was being built (its construction lets
          // messages through): it goes without being shown.
          CloseWindowOf(entry);
        } else if (entry.window->Ready()) {
          entry.window->Show();
        } else {
          box->SetChecked(false);
        }
      }
    }
  } else if (!box->Checked() && entry.window != nullptr) {
    CloseWindowOf(entry);
  }
  Application::Instance().ProcessMessages();
}

void TMixControlWnd::CloseWindowOf(WindowSwitch& entry) {
  TManagedForm* window = entry.window;
  entry.window = nullptr;
  CloseAndFreeForm(window);
}

void TMixControlWnd::chkSettingsClick(Component*) {
  WindowSwitch& entry = switches_[6];
  if (chkSettings->Checked() && entry.window == nullptr) {
    if (ConfigCommand(CurrentPlatform(), ConfigurationGate(), kCmdGetConfig, configRecord_.data(),
                      static_cast<std::int32_t>(configRecord_.size())) == 0)
      return;  // no dialog; the box stays checked
    const ManagedFormFactory* factory = FindManagedWindowClass(entry.className);
    if (factory == nullptr) return;
    try {
      entry.window = (*factory)(this, *this);
    } catch (...) {
      chkSettings->SetChecked(false);
      throw;  // to the standard error report
    }
    if (entry.window != nullptr) entry.window->Show();  // modeless
  } else if (!chkSettings->Checked() && entry.window != nullptr) {
    CloseWindowOf(entry);
  }
}

void TMixControlWnd::chkStayOnTopClick(Component*) {
  const bool on = StayOnTop();
  SetStayOnTop(*this, on);
  for (Component* c : Components())
    if (auto* form = dynamic_cast<TForm*>(c)) SetStayOnTop(*form, on);
}

bool TMixControlWnd::StayOnTop() const { return chkStayOnTop != nullptr && chkStayOnTop->Checked(); }

TManagedForm* TMixControlWnd::WindowOf(const std::string& className) const {
  const WindowSwitch* entry = SwitchOf(className);
  return entry ? entry->window : nullptr;
}

void TMixControlWnd::SetWindowAvailable(const std::string& className, bool available) {
  TExtCheckBox* box = CheckBoxOf(className);
  if (box == nullptr) return;
  if (!available) box->SetChecked(false);
  box->SetEnabled(available);
}

WinHandle TMixControlWnd::MixerIcon() const { return Windows().trayIcon; }

std::uintptr_t TMixControlWnd::AboutCommandId() const {
  return Windows().AboutBox != nullptr ? Windows().AboutBox->Identity() : 0;
}

void TMixControlWnd::ShowAboutBox() {
  if (Windows().AboutBox != nullptr) Windows().AboutBox->ShowModal();
}

void TMixControlWnd::PostWindowClosed(const TManagedForm& window) {
  const TManagedForm* self = &window;
  PostMessageToWindow(Handle(), WM_WINDOW_CLOSED, 0, reinterpret_cast<std::intptr_t>(self));
}

TExtCheckBox* TMixControlWnd::CheckBoxOf(const std::string& className) const {
  const WindowSwitch* entry = SwitchOf(className);
  return entry ? *entry->box : nullptr;
}

TMixControlWnd::WindowSwitch* TMixControlWnd::SwitchOf(const std::string& className) {
  for (WindowSwitch& entry : switches_)
    if (className == entry.className) return &entry;
  return nullptr;
}

const TMixControlWnd::WindowSwitch* TMixControlWnd::SwitchOf(const std::string& className) const {
  return const_cast<TMixControlWnd*>(this)->SwitchOf(className);
}

void TMixControlWnd::WMTrayCallback(Message& message) {
  if (message.lParam == WM_LBUTTONDBLCLK) {
    SetWindowState(WindowState::Normal);
    Show();
  }
}

void TMixControlWnd::WMWindowClosed(Message& message) {
  if (message.lParam == 0) return;
  for (WindowSwitch& entry : switches_) {
    if (entry.window != nullptr && reinterpret_cast<std::intptr_t>(entry.window) == message.lParam) {
      (*entry.box)->SetChecked(false);
      return;
    }
  }
}

void TMixControlWnd::WMSysCommand(Message& message) {
  DefaultHandler(message);
  const std::uintptr_t command = message.wParam & 0xFFF0;
  if (command == kSaveSnapshotCommand) {
    SaveMixerSnapshot(Handle());
  } else if (command == kLoadSnapshotCommand && LoadMixerSnapshot(Handle())) {
    ReloadOpenWindows();
  }
}

void TMixControlWnd::ReloadOpenWindows() {
  // A window may go while another one follows the driver (a refusal box of
  // its source change): each is looked up again when its turn comes.
  for (std::size_t i = 0; i < switches_.size(); ++i)
    if (TManagedForm* window = switches_[i].window; window != nullptr && !window->ReleasePending())
      window->ReloadFromDriver();
}

void TMixControlWnd::WMGetMinMaxInfo(Message& message) {
  auto* info = reinterpret_cast<MinMaxInfo*>(message.lParam);
  if (info != nullptr) {
    info->ptMaxSize = {kFixedWidth, kFixedHeight};
    info->ptMaxPosition = {0, 0};
    info->ptMinTrackSize = {kFixedWidth, kFixedHeight};
    info->ptMaxTrackSize = {kFixedWidth, kFixedHeight};
  }
  message.result = 0;
}

}  // namespace zentra
