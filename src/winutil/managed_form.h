// Windows that the control window switches on and off with its check boxes
// (the six mixer windows and the settings dialog). Each class registers a
// factory under its class name; until a class is registered, ticking its box
// opens nothing and clears the box again.
#pragma once

#include <functional>
#include <string>

#include "toolkit/form.h"
#include "winutil/program_link.h"

namespace zentra {

class TManagedForm : public TForm {
 public:
  TManagedForm(Component* owner, ProgramLink& program) : TForm(owner), program_(program) {}
  // False when the window could not get what it needs at construction; the
  // control window then releases it without showing it.
  virtual bool Ready() const { return true; }
  // Another window changed what the driver holds for this window (an output
  // source): read it again. Nothing by default.
  virtual void RefreshFromDriver() {}
  // Everything the window shows of the driver may have changed (a mixer
  // snapshot was loaded): read all of it again as at showing. Nothing by
  // default.
  virtual void ReloadFromDriver() {}

 protected:
  ProgramLink& Program() const { return program_; }
  // Posts the window-closed notice to the control window.
  void PostWindowClosed() const { program_.PostWindowClosed(*this); }

 private:
  ProgramLink& program_;
};

// Creates the window with the control window as owner and link to the program.
using ManagedFormFactory = std::function<TManagedForm*(Component* owner, ProgramLink& program)>;

// An empty factory takes the class out again.
void RegisterManagedWindowClass(const std::string& className, ManagedFormFactory factory);
// Null when no such class is registered.
const ManagedFormFactory* FindManagedWindowClass(const std::string& className);

}  // namespace zentra
