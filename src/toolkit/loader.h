// Reads a window description (src/resources/*.wnd, embedded at build time)
// into a form: creates the components through the class registry, applies
// their properties in the order written, binds events through the form's
// handler registry, keeps every component in the loading state until the
// whole window is read, then sends the after-loading notification.
#pragma once

#include <stdexcept>
#include <string>

namespace zentra {

class TForm;

// A fault in a window description; the message names the file and line.
class DescriptionError : public std::runtime_error {
 public:
  DescriptionError(const std::string& file, int line, const std::string& what)
      : std::runtime_error(file + "(" + std::to_string(line) + "): " + what),
        file_(file),
        line_(line) {}
  const std::string& File() const { return file_; }
  int Line() const { return line_; }

 private:
  std::string file_;
  int line_;
};

// Loads the embedded description of that file name (e.g. "about.wnd").
void LoadWindowDescription(TForm& form, const std::string& fileName);
// Loads a description given as text; fileName is used in error messages.
void LoadWindowDescriptionText(TForm& form, const std::string& fileName, const std::string& text);

}  // namespace zentra
