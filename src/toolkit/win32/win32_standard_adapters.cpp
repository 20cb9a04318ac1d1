#include "toolkit/win32/win32_api.h"
#include "toolkit/win32/win32_standard_adapters.h"

#include "toolkit/win32/win32_control_adapter.h"

namespace zentra {

void RegisterStandardAdapters(Win32AdapterRegistry& registry) {
  RegisterButtonAdapters(registry);
  RegisterEditAdapter(registry);
  RegisterComboBoxAdapter(registry);
  RegisterTrackBarAdapter(registry);
  RegisterPageControlAdapter(registry);
  RegisterPanelAdapters(registry);
  RegisterLabelAdapter(registry);
  RegisterShapeAdapters(registry);
  RegisterSpeedButtonAdapter(registry);
}

}  // namespace zentra
