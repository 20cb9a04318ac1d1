// Shows window descriptions with the native Win32 backend, and checks the
// backend against the real platform (under Wine).
//
//   toolkit_demo <demo.wnd>                 show the demo window until it is closed
//   toolkit_demo --check <demo.wnd>         drive the demo window through native
//                                           messages and check model and screen agree
//   toolkit_demo --about                    show the program's about box modally
//
// Exit code: 0 done / all checks passed, 1 a check failed, 2 usage or load error.
#include "toolkit/win32/win32_api.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/text_encoding.h"
#include "controls/audio_control_classes.h"
#include "controls/level_meter.h"
#include "controls/slider.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/class_registry.h"
#include "toolkit/combo_box.h"
#include "toolkit/containers.h"
#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/label.h"
#include "toolkit/loader.h"
#include "toolkit/page_control.h"
#include "toolkit/speed_button.h"
#include "toolkit/track_bar.h"
#include "toolkit/win32/win32_backend.h"

#if __has_include("app/about_box.h")
#include "app/about_box.h"
#define ZENTRA_DEMO_ABOUT 1
#endif

namespace zentra {

class TToolkitDemo : public TForm {
 public:
  explicit TToolkitDemo(Component* owner) : TForm(owner) {
    BindHandler("FormCreate", &TToolkitDemo::FormCreate);
    BindHandler("FormClose", &TToolkitDemo::FormClose);
    BindHandler("chkOptionClick", &TToolkitDemo::chkOptionClick);
    BindHandler("sbClick", &TToolkitDemo::sbClick);
    BindHandler("radioClick", &TToolkitDemo::radioClick);
    BindHandler("boxRateChange", &TToolkitDemo::boxRateChange);
    BindHandler("edNameChange", &TToolkitDemo::edNameChange);
    BindHandler("tckLatencyChange", &TToolkitDemo::tckLatencyChange);
    BindHandler("faderChange", &TToolkitDemo::faderChange);
    BindHandler("btnInfoClick", &TToolkitDemo::btnInfoClick);
    BindField("meter", meter);
    BindField("fader", fader);
    BindField("edFaderPos", edFaderPos);
    BindField("scroller", scroller);
    BindField("pnStrip2", pnStrip2);
    BindField("chkOption", chkOption);
    BindField("lbState", lbState);
    BindField("lbEcho", lbEcho);
    BindField("edName", edName);
    BindField("boxRate", boxRate);
    BindField("tckLatency", tckLatency);
    BindField("btnAnalog", btnAnalog);
    BindField("btnDigital", btnDigital);
    BindField("sbA", sbA);
    BindField("sbB", sbB);
    BindField("OKButton", OKButton);
    BindField("pages", pages);
  }
  const char* ClassName() const override { return "TToolkitDemo"; }

  TCheckBox* chkOption = nullptr;
  TLabel* lbState = nullptr;
  TLabel* lbEcho = nullptr;
  TEdit* edName = nullptr;
  TComboBox* boxRate = nullptr;
  TTrackBar* tckLatency = nullptr;
  TRadioButton* btnAnalog = nullptr;
  TRadioButton* btnDigital = nullptr;
  TSpeedButton* sbA = nullptr;
  TSpeedButton* sbB = nullptr;
  TButton* OKButton = nullptr;
  TPageControl* pages = nullptr;
  TLevelMeter* meter = nullptr;
  TSlider* fader = nullptr;
  TEdit* edFaderPos = nullptr;  // the fader's position, for the end-to-end tests
  TScrollBox* scroller = nullptr;
  TPanel* pnStrip2 = nullptr;
  int faderChanges = 0;
  int clicks = 0;
  int radioClicks = 0;
  int comboChanges = 0;
  int trackChanges = 0;
  bool closed = false;

  void FormCreate(Component*) {}
  void FormClose(Component*, CloseAction&) { closed = true; }
  void chkOptionClick(Component*) {
    ++clicks;
    lbState->SetCaption(chkOption->Checked() ? "Zustand: an" : "Zustand: aus");
  }
  void sbClick(Component*) {}
  void radioClick(Component*) { ++radioClicks; }
  void boxRateChange(Component*) { ++comboChanges; }
  void edNameChange(Component*) { lbEcho->SetCaption(edName->Text()); }
  void tckLatencyChange(Component*) { ++trackChanges; }
  void faderChange(Component*) {
    ++faderChanges;
    ShowFaderPosition();
  }
  void ShowFaderPosition() {
    if (edFaderPos != nullptr && fader != nullptr)
      edFaderPos->SetText("Position: " + std::to_string(fader->Position()));
  }
  void btnInfoClick(Component*) {
    Application::Instance().MessageBox("Größe: " + std::to_string(tckLatency->Position()),
                                       "Zentra Info", MB_OK | MB_ICONINFORMATION, Handle());
  }
};

}  // namespace zentra

namespace {

using namespace zentra;

// Message boxes of the demo (the standard error report uses them).
class DemoUserApi : public UserApi {
 public:
  int MessageBoxA(WinHandle owner, const char* text, const char* caption,
                  std::uint32_t style) override {
    return ::MessageBoxA(reinterpret_cast<HWND>(owner), Utf8ToCp1252(text).c_str(),
                         Utf8ToCp1252(caption).c_str(), style);
  }
  bool MessageBeep(std::uint32_t type) override { return ::MessageBeep(type) != FALSE; }
  WinHandle LoadIconA(const char*) override { return 0; }
  bool DestroyIcon(WinHandle) override { return false; }
  bool SetWindowPos(WinHandle, WinHandle, int, int, int, int, std::uint32_t) override {
    return false;
  }
  WinHandle GetSystemMenu(WinHandle, bool) override { return 0; }
  bool AppendMenuA(WinHandle, std::uint32_t, std::uintptr_t, const char*) override { return false; }
  bool ModifyMenuA(WinHandle, std::uint32_t, std::uint32_t, std::uintptr_t, const char*) override {
    return false;
  }
  std::uint32_t RegisterWindowMessageA(const char*) override { return 0; }
};

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "PASS" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

void Pump() { Application::Instance().ProcessMessages(); }

HWND Hwnd(Control* control) { return reinterpret_cast<HWND>(control->Handle()); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void SendKey(HWND window, WPARAM key) {
  // Keys go through the application's loop, as typed keys do.
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
  Pump();
}

int RunChecks(TToolkitDemo& form) {
  form.Show();
  Pump();
  HWND top = Hwnd(&form);
  Check(IsWindowVisible(top) != FALSE, "form window is visible");
  char caption[128] = {};
  GetWindowTextA(top, caption, sizeof caption);
  Check(std::string(caption) == "Zentra Toolkit Demo", "form caption");
  RECT client;
  GetClientRect(top, &client);
  Check(client.right == 480 && client.bottom == 300, "client size 480 x 300");
  RECT outer;
  GetWindowRect(top, &outer);
  Check(outer.left == form.Left() && outer.top == form.Top(), "form placed where the model says");

  // Check box: the model decides; the native box follows.
  HWND check = Hwnd(form.chkOption);
  SendMessageA(check, BM_CLICK, 0, 0);
  Pump();
  Check(form.chkOption->Checked(), "click checks the model's box");
  Check(SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED, "native box shows checked");
  Check(form.clicks == 1 && form.lbState->Caption() == "Zustand: an", "click handler ran once");
  form.chkOption->SetChecked(false);
  Pump();
  Check(SendMessageA(check, BM_GETCHECK, 0, 0) == BST_UNCHECKED, "state set by code reaches the box");
  Check(form.clicks == 2, "setting the state from code runs the click handler");

  // Radio buttons: checking one unchecks its sibling.
  SendMessageA(Hwnd(form.btnDigital), BM_CLICK, 0, 0);
  Pump();
  Check(form.btnDigital->Checked() && !form.btnAnalog->Checked(), "radio click moves the check");
  Check(SendMessageA(Hwnd(form.btnAnalog), BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
            SendMessageA(Hwnd(form.btnDigital), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "native radio buttons follow");
  Check(form.radioClicks == 1, "only the clicked radio button's handler ran");

  // Combo box: items and selection from the model; a user's choice reported.
  HWND combo = Hwnd(form.boxRate);
  Check(SendMessageA(combo, CB_GETCOUNT, 0, 0) == 3, "combo has the three items");
  Check(SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1, "combo shows the model's selection");
  SendMessageA(combo, CB_SETCURSEL, 2, 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Check(form.boxRate->ItemIndex() == 2 && form.comboChanges == 1, "user's combo choice reaches the model");
  form.boxRate->SetItemIndex(0);
  Check(SendMessageA(combo, CB_GETCURSEL, 0, 0) == 0 && form.comboChanges == 1,
        "selection by code shows and runs no event");

  // Edit: typed text reaches the model; text set by code is shown.
  HWND edit = Hwnd(form.edName);
  SetWindowTextA(edit, "Karte #2");
  Check(form.edName->Text() == "Karte #2" && form.lbEcho->Caption() == "Karte #2",
        "edited text reaches the model");
  form.edName->SetText("Größe");
  char text[64] = {};
  GetWindowTextA(edit, text, sizeof text);
  Check(Cp1252ToUtf8(text) == "Größe", "UTF-8 text shown in code page 1252");

  // Typing: characters go through the loop; the caret stays at the end.
  form.edName->SetText("Karte");
  form.edName->SetFocus();
  SendMessageA(edit, EM_SETSEL, 5, 5);
  PostMessageA(edit, WM_CHAR, 'X', 1);
  PostMessageA(edit, WM_CHAR, 'Y', 1);
  Pump();
  DWORD selStart = 0, selEnd = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  Check(form.edName->Text() == "KarteXY" && selStart == 7 && selEnd == 7,
        "typed characters reach the model and the caret stays behind them");

  // Track bar.
  HWND track = Hwnd(form.tckLatency);
  Check(SendMessageA(track, TBM_GETPOS, 0, 0) == 3 && SendMessageA(track, TBM_GETRANGEMAX, 0, 0) == 8,
        "track bar range and position");
  SendMessageA(track, TBM_SETPOS, TRUE, 6);
  SendMessageA(GetParent(track), WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(track));
  Check(form.tckLatency->Position() == 6 && form.trackChanges == 1, "track bar move reaches the model");

  // Page control: tabs and the active sheet.
  HWND tabs = Hwnd(form.pages);
  Check(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 2, "two tabs");
  form.pages->SetActivePageIndex(1);
  Pump();
  Check(SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1, "active page shown as selected tab");
  Check(!IsWindowVisible(Hwnd(form.pages->Page(0))) && IsWindowVisible(Hwnd(form.pages->Page(1))),
        "only the active sheet is visible");

  // Scroll box: the scroll bar covers the content; scrolling moves the strips.
  HWND scroller = Hwnd(form.scroller);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(scroller, SB_HORZ, &info);
  Check(info.nMax == 299 && info.nPage == 200, "scroll range is the content width, page the box width");
  SendMessageA(scroller, WM_HSCROLL, SB_LINERIGHT, 0);
  RECT strip;
  GetWindowRect(Hwnd(form.pnStrip2), &strip);
  MapWindowPoints(nullptr, scroller, reinterpret_cast<POINT*>(&strip), 2);
  Check(form.scroller->HorzPosition() == 10 && strip.left == 140,
        "a scroll arrow moves the content by the increment");

  // Speed buttons: a real mouse click through the container's window.
  HWND panel = Hwnd(form.sbB->Parent());
  const LPARAM at = MAKELPARAM(form.sbB->Left() + 5, form.sbB->Top() + 5);
  SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(panel, WM_LBUTTONUP, 0, at);
  Check(form.sbB->Down() && !form.sbA->Down(), "mouse click puts the grouped speed button down");

  // Windowless label: a caption change repaints only the label, at once
  // when the current message is done, without a WM_PAINT.
  Win32Backend::PaintStatistics& painted = Win32Backend::Current()->Statistics();
  UpdateWindow(panel);
  auto controlsBefore = painted.windowlessPainted;
  form.lbState->SetCaption("Zustand: neu");
  Check(painted.windowlessPainted == controlsBefore, "a repaint waits for the end of the message");
  Win32Backend::Current()->FlushRepaints();
  RECT update{};
  Check(painted.windowlessPainted == controlsBefore + 1 && !GetUpdateRect(panel, &update, FALSE),
        "label change paints only the label, and leaves no WM_PAINT behind");

  // Level meter: windowless, painted with its segments by the window it lies
  // in, which receives the messages meant for it; the decay ticks the window
  // hands on repaint it at most once per tick.
  form.meter->SetLevel(1000);  // segments 0 to 7
  Check(form.meter->TopIndex() == 7, "meter level lights the segments");
  Check(!form.meter->IsWindowed() && form.meter->Handle() == 0, "the meter has no window of its own");
  HWND meterWindow = reinterpret_cast<HWND>(form.meter->MessageWindow());
  Check(meterWindow == Hwnd(form.meter->Parent()), "the meter's messages go to its parent's window");
  Win32Backend::Current()->FlushRepaints();
  UpdateWindow(meterWindow);
  PostMessageA(meterWindow, WM_METER_DECAY, 0, 0);  // no timer of the meter's own
  Pump();
  Check(form.meter->TopIndex() == 7, "a tick of no timer of the meter's leaves it as it is");
  form.SetMessageHandler(WM_METER_DECAY, [&form](Message& m) { form.meter->DecayMessage(m); });
  const auto paintsBefore = painted.paintMessages;
  PostMessageA(meterWindow, WM_METER_DECAY, 0, 0);
  PostMessageA(meterWindow, WM_METER_DECAY, 0, 0);
  Pump();
  form.SetMessageHandler(WM_METER_DECAY, nullptr);
  Check(form.meter->TopIndex() == 5, "the window's ticks reach the meter");
  Check(painted.paintMessages - paintsBefore <= 2, "the window paints at most once per tick");
  form.meter->SetLevel(1000);
  Win32Backend::Current()->FlushRepaints();
  controlsBefore = painted.windowlessPainted;
  Message decay{WM_METER_DECAY, 0, 0, 0};
  form.meter->DecayMessage(decay);
  Win32Backend::Current()->FlushRepaints();
  Check(painted.windowlessPainted == controlsBefore + 1, "a decay step repaints one segment only");
  form.meter->SetLevel(32767);
  Pump();

  // Fader: dragging the knob with the mouse moves the position.
  const int before = form.fader->Position();
  Control* knob = nullptr;
  for (Control* c : form.fader->Parent()->Children())
    if (c != form.fader && c->Left() <= form.fader->Left() && c->Left() + c->Width() > form.fader->Left() &&
        c->Top() >= form.fader->Top() - 20 && c->Top() < form.fader->Top() + form.fader->Height())
      knob = c;
  Check(knob != nullptr && knob->IsWindowed(), "fader knob is a window of its own");
  if (knob != nullptr) {
    HWND knobWindow = Hwnd(knob);
    const int changes = form.faderChanges;
    SendMessageA(knobWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    SendMessageA(knobWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 0));
    SendMessageA(knobWindow, WM_LBUTTONUP, 0, MAKELPARAM(5, 0));
    Check(form.fader->Position() > before && form.faderChanges > changes,
          "dragging the knob up raises the fader");
    GetWindowTextA(Hwnd(form.edFaderPos), text, sizeof text);
    Check(text == "Position: " + std::to_string(form.fader->Position()),
          "the read-only box shows the fader's position");
    Check((GetWindowLongA(Hwnd(form.edFaderPos), GWL_STYLE) & ES_READONLY) != 0,
          "the position box is read-only");
  }

  // Hints: the speed button's hint is a tool of the form's tooltip window.
  struct Finder {
    HWND owner;
    HWND found;
  } finder{top, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Finder*>(p);
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(w, GW_OWNER) == f->owner) f->found = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&finder));
  Check(finder.found != nullptr && SendMessageA(finder.found, TTM_GETTOOLCOUNT, 0, 0) == 1,
        "one tool for the one control with a hint");
  form.sbA->SetShowHint(false);
  Check(finder.found != nullptr && SendMessageA(finder.found, TTM_GETTOOLCOUNT, 0, 0) == 0,
        "hint switched off removes the tool");

  // Mnemonics: Alt+I clicks the check box captioned "&Immer im Vordergrund".
  const bool wasChecked = form.chkOption->Checked();
  PostMessageA(check, WM_SYSCHAR, 'i', 0x20000000);
  Pump();
  Check(form.chkOption->Checked() != wasChecked, "Alt+letter clicks the control with that mnemonic");

  // Keyboard: Tab moves the focus in tab order, Esc clicks the cancel button.
  form.chkOption->SetFocus();
  Pump();
  Check(GetFocus() == check, "focus set by the model reaches the native box");
  SendKey(check, VK_TAB);
  Check(form.ActiveControl() == form.btnAnalog || form.ActiveControl() == form.btnDigital,
        "Tab moves to the next control in tab order");
  Check(GetFocus() == Hwnd(form.ActiveControl()), "native focus follows the model");
  HWND focusBefore = GetFocus();
  SendKey(focusBefore, VK_DOWN);
  Check(GetFocus() != focusBefore && GetFocus() != nullptr, "arrow keys move the focus (dialog manager)");

  // Window state and activation.
  int activations = 0, deactivations = 0;
  form.OnActivate = [&](Component*) { ++activations; };
  form.OnDeactivate = [&](Component*) { ++deactivations; };
  form.SetWindowState(WindowState::Minimized);
  Pump();
  Check(IsIconic(top) != FALSE, "minimised by the model");
  form.SetWindowState(WindowState::Normal);
  Pump();
  Check(IsIconic(top) == FALSE, "restored by the model");
  TForm* second = new TForm(nullptr);
  second->SetCaption("Second");
  second->Show();
  SetActiveWindow(Hwnd(second));
  Pump();
  SetActiveWindow(top);
  Pump();
  Check(deactivations >= 1 && activations >= 1, "activation changes reach OnActivate and OnDeactivate");
  Free(second);
  Pump();

  // Size limits from a WM_GETMINMAXINFO handler hold for the model's sizes too.
  form.SetBorderStyle(BorderStyle::Single);
  form.SetMessageHandler(WM_GETMINMAXINFO, [](Message& m) {
    auto* info = reinterpret_cast<MinMaxInfo*>(m.lParam);
    info->ptMinTrackSize = {300, 200};
    info->ptMaxTrackSize = {500, 400};
  });
  form.SetBounds(form.Left(), form.Top(), 900, 900);
  Pump();
  GetWindowRect(top, &outer);
  Check(outer.right - outer.left == 500 && outer.bottom - outer.top == 400 && form.Width() == 500 &&
            form.Height() == 400,
        "sizes beyond the limits are clamped, and the model knows");
  form.SetMessageHandler(WM_GETMINMAXINFO, nullptr);
  form.SetBorderStyle(BorderStyle::Dialog);

  // A window the platform destroys behind the model's back is forgotten.
  HWND lost = Hwnd(form.edName);
  DestroyWindow(lost);
  form.edName->SetText("nach dem Ende");
  Check(form.edName->Handle() == 0 && !IsWindow(lost), "a destroyed native window is forgotten");

  // Close button: the model decides.
  SendMessageA(top, WM_CLOSE, 0, 0);
  Pump();
  Check(form.closed && !IsWindowVisible(top) && IsWindow(top), "close hides the form");

  // Modal: Enter gives the default button's result; the other window of the
  // program is disabled while the loop runs. A toolkit timer acts inside the
  // modal loop, as a user would.
  TForm* other = new TForm(nullptr);
  other->SetCaption("Other");
  other->Show();
  Pump();
  HWND otherWindow = Hwnd(other);
  bool otherDisabledDuringModal = false;
  Backend* backend = Application::Instance().GetBackend();
  std::uintptr_t timer = 0;
  timer = backend->StartTimer(100, [&] {
    backend->StopTimer(timer);
    otherDisabledDuringModal = IsWindowEnabled(otherWindow) == FALSE;
    HWND focus = GetFocus();
    PostMessageA(focus != nullptr ? focus : top, WM_KEYDOWN, VK_RETURN, 1);
  });
  const ModalResult result = form.ShowModal();
  Check(result == mrOk, "Enter in the modal form gives the default button's result");
  Check(otherDisabledDuringModal, "other windows are disabled while a form is modal");
  Check(IsWindowEnabled(otherWindow) != FALSE, "and enabled again afterwards");
  Free(other);

  std::printf("%d check(s) failed\n", failures);
  return failures == 0 ? 0 : 1;
}

int RunDemo(TToolkitDemo& form) {
  form.meter->SetLevel(16384);
  form.Show();
  while (form.Visible() && !Application::Instance().Terminated())
    Application::Instance().HandleMessage(true);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace zentra;
  DemoUserApi user;
  Application::Instance().SetBackend(std::make_unique<Win32Backend>(instance));
  Application::Instance().SetUserApi(&user);
  Application::Instance().SetTitle("Zentra Toolkit Demo");
  ClassRegistry::Instance().Register<TToolkitDemo>("TToolkitDemo", "TForm");
  RegisterAudioControlClasses();

  int argc = __argc;
  char** argv = __argv;
  if (argc < 2) return 2;
  std::string mode = argv[1];
  std::string path = argc > 2 ? argv[2] : argv[1];
  int code = 2;
  try {
#if ZENTRA_DEMO_ABOUT
    if (mode == "--about") {
      auto* about = new TAboutBox(nullptr);  // loads the embedded about.wnd
      about->ShowModal();
      Free(about);
      code = 0;
    } else
#endif
    {
      auto* form = new TToolkitDemo(nullptr);
      LoadWindowDescriptionText(*form, path, ReadFile(path));
      form->ShowFaderPosition();
      code = mode == "--check" ? RunChecks(*form) : RunDemo(*form);
      Free(form);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    code = 2;
  }
  std::fflush(stdout);
  Application::Instance().SetBackend(nullptr);
  return code;
}
