// What the mixer windows and the settings dialog need of the program around
// them: the mixer icon, the about box, the control window's stay-on-top
// handler, its window check boxes and the window-closed notice. The program
// (the control window) implements it and hands it to every window it makes,
// so those windows never reach up into the program's own classes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/win_defs.h"

namespace zentra {

class Component;
class TManagedForm;

// Size of the driver's configuration record that the settings dialog edits.
constexpr std::size_t kConfigRecordSize = 832;
using ConfigRecordBytes = std::array<std::uint8_t, kConfigRecordSize>;

class ProgramLink {
 public:
  virtual ~ProgramLink() = default;

  // The icon of the mixer windows (also the tray icon).
  virtual WinHandle MixerIcon() const = 0;
  // The command identifier of the " Info..." item of a window's system
  // menu (the about box's identity), and showing the about box.
  virtual std::uintptr_t AboutCommandId() const = 0;
  virtual void ShowAboutBox() = 0;
  // The control window's activate/deactivate handler (re-applies stay on top).
  virtual void FormActiveChanged(Component* sender) = 0;
  // Whether the program's windows are kept on top (for windows the control
  // window does not own itself, such as a stacked dialog).
  virtual bool StayOnTop() const = 0;
  // Posts the window-closed notice for `window` to the control window.
  virtual void PostWindowClosed(const TManagedForm& window) = 0;
  // The open window of a class (null when its box is clear).
  virtual TManagedForm* WindowOf(const std::string& className) const = 0;
  // Makes a window class available to the user again (its box enabled), or
  // takes it away (its box cleared, which closes the window, and disabled).
  virtual void SetWindowAvailable(const std::string& className, bool available) = 0;
  // The program's copy of the driver's configuration record.
  virtual ConfigRecordBytes& ConfigRecord() = 0;
};

}  // namespace zentra
