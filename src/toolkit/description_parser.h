// Parses the text of a window description into a tree of objects with their
// properties (see docs/window-descriptions.md for the format).
#pragma once

#include <string>
#include <vector>

#include "toolkit/loader.h"
#include "toolkit/property_value.h"

namespace zentra {

struct PropertyNode {
  std::string name;  // may be dotted: Font.Name
  PropertyValue value;
  int line = 0;
};

struct ObjectNode {
  std::string file;  // the description it is written in (a window's or an included one)
  std::string name;
  std::string className;
  int line = 0;
  std::vector<PropertyNode> properties;  // in the order written
  std::vector<ObjectNode> children;      // in the order written
};

// Throws DescriptionError (file and line) on malformed text. An include is
// replaced by the objects of the description it names, found in source and
// read with the include's parameters; one that source cannot find or that
// includes itself again is a fault at the include's line.
ObjectNode ParseDescription(const std::string& fileName, const std::string& text,
                            const DescriptionSource& source = {});

}  // namespace zentra
