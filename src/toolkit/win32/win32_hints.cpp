// Tooltips: the hint of a control is a tool of its form's tooltip window.
// Windowed controls are tools by their window; windowless ones by their
// rectangle in the window of their nearest windowed ancestor.
#include "toolkit/win32/win32_api.h"

#include "platform/text_encoding.h"
#include "toolkit/form.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_peer.h"

namespace zentra {
namespace {

// The first version of the record: understood by every common-controls
// library this program may meet.
TOOLINFOA ToolRecord(HWND host, UINT_PTR id, bool byWindow) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_SUBCLASS | (byWindow ? TTF_IDISHWND : 0);
  tool.hwnd = host;
  tool.uId = id;
  return tool;
}

}  // namespace

HWND Win32Peer::TooltipWindow(bool create) {
  TForm* form = control_.ParentForm();
  if (form == nullptr) return nullptr;
  auto* formPeer = static_cast<Win32Peer*>(form->Peer());
  if (formPeer == nullptr || formPeer->window_ == nullptr) return nullptr;
  if (formPeer->tooltip_ == nullptr && create) {
    // Owned by the form, so it goes away with it.
    formPeer->tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, formPeer->window_, nullptr,
                                         backend_.Instance(), nullptr);
  }
  return formPeer->tooltip_;
}

void Win32Peer::UpdateHint() {
  if (role_ == PeerRole::Form) return;
  const bool wanted = control_.ShowHint() && !control_.Hint().empty();
  HWND tooltip = TooltipWindow(wanted);
  if (tooltip == nullptr) return;
  if (!wanted) {
    RemoveHint();
    return;
  }
  POINT offset{0, 0};
  HWND host = window_ != nullptr ? GetParent(window_) : NativeParent(offset);
  if (host == nullptr) return;
  const bool byWindow = window_ != nullptr;
  TOOLINFOA tool = ToolRecord(host, byWindow ? reinterpret_cast<UINT_PTR>(window_) : control_.Identity(), byWindow);
  if (!byWindow) {
    tool.rect = {control_.Left() + offset.x, control_.Top() + offset.y,
                 control_.Left() + offset.x + control_.Width(),
                 control_.Top() + offset.y + control_.Height()};
  }
  std::string text = Utf8ToCp1252(control_.Hint());
  tool.lpszText = &text[0];
  if (hintHost_ != nullptr && hintHost_ == host) {
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    if (!byWindow) SendMessageA(tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  RemoveHint();
  if (SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) hintHost_ = host;
}

void Win32Peer::RemoveHint() {
  if (hintHost_ == nullptr) return;
  HWND tooltip = TooltipWindow(false);
  if (tooltip != nullptr && IsWindow(tooltip)) {
    const bool byWindow = window_ != nullptr;
    TOOLINFOA tool = ToolRecord(hintHost_, byWindow ? reinterpret_cast<UINT_PTR>(window_) : control_.Identity(), byWindow);
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  hintHost_ = nullptr;
}

}  // namespace zentra
