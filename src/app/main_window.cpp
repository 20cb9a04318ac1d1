#include "app/main_window.h"

#include <cstring>

#include "app/control_window.h"
#include "app/device_removal.h"
#include "app/program_windows.h"
#include "toolkit/application.h"

namespace zentra {

TfrmMain::TfrmMain(Component* owner) : TForm(owner) {
  BindHandler("FormClose", &TfrmMain::FormClose);
  SetMessageHandler(WM_DEVICECHANGE, [this](Message& m) { WMDeviceChange(m); });
  SetMessageHandler(WM_ENDSESSION, [this](Message& m) { WMEndSession(m); });
  SetMessageHandler(WM_QUERYENDSESSION, [this](Message& m) { WMQueryEndSession(m); });
  CreateFromDescription("main_window.wnd");
}

void TfrmMain::ExitClick() {
  if (Windows().MixControlWnd != nullptr) Windows().MixControlWnd->Close();
  Application::Instance().Terminate();
}

void TfrmMain::FormClose(Component*, CloseAction&) { ExitClick(); }

void TfrmMain::WMDeviceChange(Message& message) {
  if (message.wParam == DBT_DEVICEQUERYREMOVE && message.lParam != 0) {
    DevBroadcastDevnode record;
    std::memcpy(&record, reinterpret_cast<const void*>(message.lParam), sizeof record);
    if (record.dbcd_devicetype == DBT_DEVTYP_DEVNODE) HandleCardRemovalQuery(record.dbcd_devnode);
  }
  message.result = 1;  // the program never vetoes a removal
}

void TfrmMain::WMEndSession(Message& message) {
  if (message.wParam != 0) ExitClick();
  message.result = 0;
}

void TfrmMain::WMQueryEndSession(Message& message) { message.result = 1; }

}  // namespace zentra
