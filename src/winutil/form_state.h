// Remembers the state of a window's persistent components and its placement
// between sessions in a private-profile (INI) file. The section is the
// window's caption followed by a suffix; each persistent component is stored
// under its Name, the placement under "Top", "Left", "Width", "Height" and
// "Hints".
#pragma once

#include <cstdint>
#include <string>

namespace zentra {

class Component;
class TForm;

// Named components whose Tag holds every bit of the mask (a mask of 0
// selects every named component).
bool IsPersistent(const Component& component, std::int32_t tagMask);

// Restores the persistent components (a missing or unreadable value keeps
// the current state) and, with placement, the window's bounds, clamped to
// the window's own size limits, and its hint display. Lets the application
// handle pending messages after each component. A fader whose stored value
// lies outside its range raises its range error and ends the restore there.
void RestoreFormState(TForm& window, const std::string& fileName, const std::string& suffix,
                      std::int32_t tagMask, bool placement);

// Writes every persistent component's state and, with placement, the
// window's bounds and hint display. Stops at the first value the file does
// not take, and at a page control without an active page of its own;
// returns false in either case.
bool SaveFormState(TForm& window, const std::string& fileName, const std::string& suffix,
                   std::int32_t tagMask, bool placement);

}  // namespace zentra
