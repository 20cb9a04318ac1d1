#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_native_kind.h"


#include "platform/text_encoding.h"
#include "toolkit/buttons.h"
#include "toolkit/combo_box.h"
#include "toolkit/containers.h"
#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/page_control.h"
#include "toolkit/track_bar.h"

namespace zentra {

NativeKind NativeKindOf(const Control& control) {
  if (control.IsTopLevel()) return NativeKind::Form;
  if (!control.IsWindowed()) return NativeKind::Windowless;
  if (dynamic_cast<const TButton*>(&control)) return NativeKind::PushButton;
  if (dynamic_cast<const TCheckBox*>(&control)) return NativeKind::CheckBox;
  if (dynamic_cast<const TRadioButton*>(&control)) return NativeKind::RadioButton;
  if (dynamic_cast<const TGroupBox*>(&control)) return NativeKind::GroupBox;
  if (dynamic_cast<const TEdit*>(&control)) return NativeKind::Edit;
  if (dynamic_cast<const TComboBox*>(&control)) return NativeKind::ComboBox;
  if (dynamic_cast<const TTrackBar*>(&control)) return NativeKind::TrackBar;
  if (dynamic_cast<const TPageControl*>(&control)) return NativeKind::TabControl;
  // Panels, scroll boxes, tab sheets and any other windowed control of the
  // model: a window of the program's own container class.
  return NativeKind::Container;
}

NativeWindowSpec NativeSpecOf(const Control& control, NativeKind kind) {
  const DWORD tab = control.TabStop() ? WS_TABSTOP : 0;
  switch (kind) {
    case NativeKind::PushButton: return {"BUTTON", BS_PUSHBUTTON | tab, 0};
    case NativeKind::CheckBox: {
      const auto& box = static_cast<const TCheckBox&>(control);
      const DWORD left = box.GetAlignment() == Alignment::LeftJustify ? BS_LEFTTEXT : 0;
      return {"BUTTON", BS_CHECKBOX | left | tab, 0};
    }
    case NativeKind::RadioButton: {
      const auto& radio = static_cast<const TRadioButton&>(control);
      const DWORD left = radio.GetAlignment() == Alignment::LeftJustify ? BS_LEFTTEXT : 0;
      return {"BUTTON", BS_RADIOBUTTON | left | tab, 0};
    }
    case NativeKind::Edit: return {"EDIT", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case NativeKind::ComboBox:
      return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case NativeKind::TrackBar: {
      const auto& bar = static_cast<const TTrackBar&>(control);
      DWORD style = bar.Orientation() == TrackBarOrientation::Vertical ? TBS_VERT : TBS_HORZ;
      if (bar.GetTickStyle() == TickStyle::None) style |= TBS_NOTICKS;
      else if (bar.GetTickStyle() == TickStyle::Auto) style |= TBS_AUTOTICKS;
      if (bar.GetTickMarks() == TickMarks::TopLeft) style |= TBS_TOP;
      if (bar.GetTickMarks() == TickMarks::Both) style |= TBS_BOTH;
      return {TRACKBAR_CLASSA, style | tab, 0};
    }
    case NativeKind::TabControl: {
      const auto& pages = static_cast<const TPageControl&>(control);
      DWORD style = WS_CLIPCHILDREN | tab;
      if (pages.TabWidth() > 0) style |= TCS_FIXEDWIDTH;
      if (pages.HotTrack()) style |= TCS_HOTTRACK;
      return {WC_TABCONTROLA, style, WS_EX_CONTROLPARENT};
    }
    case NativeKind::GroupBox:
      // No WS_CLIPCHILDREN: the native frame child lies over the whole area
      // and must let the painted (windowless) controls show through.
      return {"ZentraPanel", 0, WS_EX_CONTROLPARENT};
    case NativeKind::Container: {
      DWORD style = WS_CLIPCHILDREN;
      if (const auto* box = dynamic_cast<const TScrollBox*>(&control))
        if (box->HorzMaxPosition() > 0) style |= WS_HSCROLL;
      return {"ZentraPanel", style, WS_EX_CONTROLPARENT};
    }
    default: return {"ZentraPanel", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  }
}

namespace {

void FillComboItems(const TComboBox& combo, HWND window) {
  SendMessageA(window, CB_RESETCONTENT, 0, 0);
  for (const std::string& item : combo.Items()) {
    const std::string text = Utf8ToCp1252(item);
    SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void FillTabs(const TPageControl& pages, HWND window) {
  SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TTabSheet* sheet : pages.Pages()) {
    if (!sheet->TabVisible()) continue;
    std::string text = Utf8ToCp1252(sheet->Caption());
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = &text[0];
    item.lParam = reinterpret_cast<LPARAM>(sheet);
    SendMessageA(window, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
  }
  if (pages.TabWidth() > 0 || pages.TabHeight() > 0)
    SendMessageA(window, TCM_SETITEMSIZE, 0, MAKELPARAM(pages.TabWidth(), pages.TabHeight()));
}

int TabIndexOfSheet(const TPageControl& pages, const TTabSheet* wanted) {
  int index = 0;
  for (TTabSheet* sheet : pages.Pages()) {
    if (!sheet->TabVisible()) continue;
    if (sheet == wanted) return index;
    ++index;
  }
  return -1;
}

}  // namespace

void ApplyNativeState(Control& control, NativeKind kind, HWND window, Change what) {
  switch (kind) {
    case NativeKind::PushButton:
      if (what == Change::Look) {
        const bool isDefault = static_cast<TButton&>(control).Default();
        SendMessageA(window, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
      }
      break;
    case NativeKind::CheckBox:
      if (what == Change::State)
        SendMessageA(window, BM_SETCHECK,
                     static_cast<TCheckBox&>(control).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case NativeKind::RadioButton:
      if (what == Change::State)
        SendMessageA(window, BM_SETCHECK,
                     static_cast<TRadioButton&>(control).Checked() ? BST_CHECKED : BST_UNCHECKED,
                     0);
      break;
    case NativeKind::Edit:
      if (what == Change::Look)
        SendMessageA(window, EM_SETREADONLY, static_cast<TEdit&>(control).ReadOnly() ? 1 : 0, 0);
      if (what == Change::Look || what == Change::Caption)
        SendMessageA(window, EM_LIMITTEXT, static_cast<TEdit&>(control).MaxLength(), 0);
      break;
    case NativeKind::ComboBox: {
      auto& combo = static_cast<TComboBox&>(control);
      if (what == Change::Items) FillComboItems(combo, window);
      if (what == Change::Items || what == Change::ItemIndex)
        SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex()), 0);
      break;
    }
    case NativeKind::TrackBar: {
      auto& bar = static_cast<TTrackBar&>(control);
      if (what == Change::Range) {
        SendMessageA(window, TBM_SETRANGEMIN, FALSE, bar.Min());
        SendMessageA(window, TBM_SETRANGEMAX, FALSE, bar.Max());
        SendMessageA(window, TBM_SETPAGESIZE, 0, bar.PageSize());
        SendMessageA(window, TBM_SETLINESIZE, 0, bar.LineSize());
        if (bar.GetTickStyle() == TickStyle::Auto)
          SendMessageA(window, TBM_SETTICFREQ, bar.Frequency() > 0 ? bar.Frequency() : 1, 0);
        SendMessageA(window, TBM_SETPOS, TRUE, bar.Position());
      }
      break;
    }
    case NativeKind::TabControl: {
      auto& pages = static_cast<TPageControl&>(control);
      if (what == Change::ActivePage || what == Change::Items || what == Change::Look) {
        FillTabs(pages, window);
        SendMessageA(window, TCM_SETCURSEL, TabIndexOfSheet(pages, pages.ActivePage()), 0);
      }
      break;
    }
    case NativeKind::Container:
      if (auto* box = dynamic_cast<TScrollBox*>(&control)) {
        if (what == Change::Scroll || what == Change::Range || what == Change::Look ||
            what == Change::Bounds) {
          SCROLLINFO info{};
          info.cbSize = sizeof(info);
          info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
          info.nMin = 0;
          info.nMax = box->HorzRange() - 1;
          info.nPage = static_cast<UINT>(box->ClientWidth());
          info.nPos = box->HorzPosition();
          SetScrollInfo(window, SB_HORZ, &info, TRUE);
        }
      }
      break;
    default:
      break;
  }
}

void ContentChanged(Control& container) {
  if (dynamic_cast<TScrollBox*>(&container) == nullptr || container.Peer() == nullptr) return;
  HWND window = reinterpret_cast<HWND>(container.Peer()->Handle());
  if (window != nullptr) ApplyNativeState(container, NativeKind::Container, window, Change::Scroll);
}

void ReportNativeCommand(Control& control, NativeKind kind, HWND window, WORD code) {
  switch (kind) {
    case NativeKind::PushButton:
    case NativeKind::CheckBox:
    case NativeKind::RadioButton:
      // The model decides the new check state and runs the click event.
      if (code == BN_CLICKED) control.UserClick();
      else if (code == BN_DOUBLECLICKED) control.UserDoubleClick();
      break;
    case NativeKind::Edit:
      if (code == EN_CHANGE) {
        const int length = GetWindowTextLengthA(window);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GetWindowTextA(window, &text[0], length + 1);
        text.resize(static_cast<size_t>(length));
        static_cast<TEdit&>(control).UserTextChanged(Cp1252ToUtf8(text));
      }
      break;
    case NativeKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0));
        static_cast<TComboBox&>(control).UserSelect(index);
      }
      break;
    default:
      break;
  }
}

void ReportNativeScroll(Control& control, NativeKind kind, HWND window) {
  if (kind == NativeKind::TrackBar) {
    const int position = static_cast<int>(SendMessageA(window, TBM_GETPOS, 0, 0));
    static_cast<TTrackBar&>(control).UserMove(position);
  }
}

LRESULT ReportNativeNotify(Control& control, NativeKind kind, HWND window, const NMHDR& header) {
  if (kind == NativeKind::TabControl && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    auto& pages = static_cast<TPageControl&>(control);
    const int tab = static_cast<int>(SendMessageA(window, TCM_GETCURSEL, 0, 0));
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (SendMessageA(window, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item))) {
      auto* sheet = reinterpret_cast<TTabSheet*>(item.lParam);
      pages.UserSelectPage(sheet->PageIndex());
    }
  }
  return 0;
}

}  // namespace zentra
