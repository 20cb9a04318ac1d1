#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_control_adapter.h"

#include "toolkit/win32/win32_backend.h"

namespace zentra {

// --- what a control without an adapter of its own gets ----------------------

bool Win32ControlAdapter::Fits(const Component&) const { return true; }

NativeWindowSpec Win32ControlAdapter::WindowSpec(const Control&) const {
  return {Win32Backend::ContainerClassName(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
}

HWND Win32ControlAdapter::CreateCompanion(const Control&, HWND, HINSTANCE) const { return nullptr; }
void Win32ControlAdapter::Apply(Control&, HWND, Change) const {}
void Win32ControlAdapter::ContentChanged(Control&, HWND) const {}
bool Win32ControlAdapter::KeepsDialogKeys(HWND) const { return false; }
void Win32ControlAdapter::Command(Control&, HWND, WORD) const {}
void Win32ControlAdapter::Scroll(Control&, HWND) const {}
LRESULT Win32ControlAdapter::Notify(Control&, HWND, const NMHDR&) const { return 0; }
bool Win32ControlAdapter::OwnScroll(Control&, UINT, WPARAM) const { return false; }
void Win32ControlAdapter::PaintWindowless(Control&, HDC, Win32Resources&) const {}
void Win32ControlAdapter::PaintContainer(Control&, HDC, Win32Resources&) const {}

// --- registry ------------------------------------------------------------------

Win32AdapterRegistry& Win32AdapterRegistry::Instance() {
  static Win32AdapterRegistry registry;
  return registry;
}

Win32AdapterRegistry::Win32AdapterRegistry() { RegisterStandardAdapters(*this); }

void Win32AdapterRegistry::Register(const std::string& className,
                                    std::unique_ptr<Win32ControlAdapter> adapter) {
  adapters_.Register(className, std::move(adapter));
}

const Win32ControlAdapter& Win32AdapterRegistry::For(const Control& control) {
  const Win32ControlAdapter* adapter = adapters_.For(control);
  return adapter != nullptr ? *adapter : default_;
}

}  // namespace zentra
