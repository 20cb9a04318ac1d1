// Reads a window description (src/resources/*.wnd, embedded at build time)
// into a form: creates the components through the class registry, applies
// their properties in the order written, binds events through the form's
// handler registry, keeps every component in the loading state until the
// whole window is read, then sends the after-loading notification.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
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

// Texts a description takes in place of ${Name}: one description can serve
// several windows that differ only in such data (class, caption, a name, a
// size). A value is inserted as written, before the text is parsed.
using DescriptionParameters = std::map<std::string, std::string>;

// Where a description finds the descriptions it includes: the text of one by
// its file name, nullopt when there is none of that name.
using DescriptionSource = std::function<std::optional<std::string>(const std::string& fileName)>;
// The descriptions embedded into the program (src/resources/*.wnd).
const DescriptionSource& EmbeddedDescriptions();

// Loads the embedded description of that file name (e.g. "about.wnd").
void LoadWindowDescription(TForm& form, const std::string& fileName);
// The same with its ${Name} parameters replaced.
void LoadWindowDescription(TForm& form, const std::string& fileName, const DescriptionParameters& parameters);
// Loads a description given as text; fileName is used in error messages.
// Its includes are found in source.
void LoadWindowDescriptionText(TForm& form, const std::string& fileName, const std::string& text,
                               const DescriptionSource& source = EmbeddedDescriptions());
// The text with every ${Name} replaced by its parameter; a name without a
// parameter or an unclosed ${ is a DescriptionError naming the line. When
// used is given, it receives the names that occur in the text.
std::string ExpandDescriptionParameters(const std::string& fileName, const std::string& text,
                                        const DescriptionParameters& parameters,
                                        std::set<std::string>* used = nullptr);

}  // namespace zentra
