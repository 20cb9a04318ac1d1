// The control window's system-menu items " Mischpult speichern..." and
// " Mischpult laden...": the system's file dialog, then the snapshot of
// every card's mixer state read from the driver into a file, or a file
// checked as a whole and set through the driver. Failures are reported in
// one message box; a successful save shows nothing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_defs.h"
#include "winutil/options_menu.h"

namespace zentra {

// System-menu commands (multiples of 16: the system uses the low four bits).
constexpr std::uintptr_t kSaveSnapshotCommand = 0x0110;
constexpr std::uintptr_t kLoadSnapshotCommand = 0x0120;
extern const BilingualMenuItem kSaveSnapshotItem;  // " Mischpult speichern..."
extern const BilingualMenuItem kLoadSnapshotItem;  // " Mischpult laden..."

// What the dialogs offer.
constexpr const char* kSnapshotFilterDescription = "Zentra Mischpult (*.zmx)";
constexpr const char* kSnapshotFilterPattern = "*.zmx";
constexpr const char* kSnapshotDefaultName = "Mischpult.zmx";
constexpr const char* kSnapshotExtension = "zmx";
constexpr const char* kSnapshotErrorCaption = "Zentra Mischpult";

// Asks for a file and saves every card's state into it.
void SaveMixerSnapshot(WinHandle owner);
// Asks for a file and loads it. True when the driver was asked to change
// anything (the open mixer windows must then show the driver's state again).
bool LoadMixerSnapshot(WinHandle owner);

// The folder of the program's executable (empty when unknown).
std::string ProgramDirectory();

}  // namespace zentra
