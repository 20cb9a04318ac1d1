// Copies the template controls of a container into a container (the same
// one, in the mixer windows), shifted by an offset: a fixed list of control
// classes, each with a fixed set of properties and event handlers. Copies of
// panels and group boxes get copies of their templates' children. Every copy
// goes through the callback, which may rename, renumber or drop it, and the
// copies are put into the destination only at the end.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace zentra {

class Control;

// A template of a class that cannot be cloned.
class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Receives each new copy with the template it was copied from; may change
// the copy, or free it and clear the reference to drop it.
using CloneCallback = std::function<void(const Control& from, Control*& copy)>;

// Copies are owned by the source's window (or, off a window, by the source's
// owner) and destroyed with it. Unnamed templates are skipped; a named
// template of an unsupported class raises EComponentError, and the copies
// made until then are not put into the destination.
void CloneComponents(Control& source, Control& destination, int dx, int dy,
                     const CloneCallback& onClone);

}  // namespace zentra
