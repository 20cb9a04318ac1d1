// Window-level operations shared by the windows: topmost placement and
// switching a window off.
#pragma once

namespace zentra {

class TForm;

// Keeps the window above all others (on) or puts it back among them.
void SetStayOnTop(TForm& window, bool on);

// Closes the window held in the reference (its close handling runs), frees
// it and clears the reference. Nothing when the reference is empty.
void CloseAndFreeForm(TForm*& window);

// The same for a reference to a derived window class.
template <class T>
void CloseAndFreeForm(T*& window) {
  TForm* form = window;
  CloseAndFreeForm(form);
  window = nullptr;
}

}  // namespace zentra
