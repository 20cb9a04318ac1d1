// The adapters of the toolkit's standard classes, each registered by the
// file that defines it. A new control class with a look of its own adds its
// file and one line to RegisterStandardAdapters.
#pragma once

namespace zentra {

class Win32AdapterRegistry;

void RegisterButtonAdapters(Win32AdapterRegistry& registry);      // TButton, TCheckBox, TRadioButton
void RegisterEditAdapter(Win32AdapterRegistry& registry);         // TEdit
void RegisterComboBoxAdapter(Win32AdapterRegistry& registry);     // TComboBox
void RegisterTrackBarAdapter(Win32AdapterRegistry& registry);     // TTrackBar
void RegisterPageControlAdapter(Win32AdapterRegistry& registry);  // TPageControl
void RegisterPanelAdapters(Win32AdapterRegistry& registry);       // TPanel, TGroupBox, TScrollBox
void RegisterLabelAdapter(Win32AdapterRegistry& registry);        // TLabel
void RegisterShapeAdapters(Win32AdapterRegistry& registry);       // TBevel, TShape, TImage
void RegisterSpeedButtonAdapter(Win32AdapterRegistry& registry);  // TSpeedButton

}  // namespace zentra
