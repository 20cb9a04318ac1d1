// Replaces the ${Name} parameters of a window description's text.
#include <algorithm>

#include "toolkit/loader.h"

namespace zentra {

std::string ExpandDescriptionParameters(const std::string& fileName, const std::string& text,
                                        const DescriptionParameters& parameters, std::set<std::string>* used) {
  std::string out;
  out.reserve(text.size());
  int line = 1;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = text.find("${", pos);
    const std::size_t end = open == std::string::npos ? text.size() : open;
    line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(pos),
                                        text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    out.append(text, pos, end - pos);
    if (open == std::string::npos) return out;
    const std::size_t close = text.find('}', open + 2);
    const std::size_t lineEnd = text.find('\n', open);
    if (close == std::string::npos || (lineEnd != std::string::npos && close > lineEnd))
      throw DescriptionError(fileName, line, "unclosed ${ (a parameter is written ${Name})");
    const std::string name = text.substr(open + 2, close - open - 2);
    const auto value = parameters.find(name);
    if (value == parameters.end())
      throw DescriptionError(fileName, line, "no value for the parameter ${" + name + "}");
    out += value->second;
    if (used != nullptr) used->insert(name);
    pos = close + 1;
  }
}

}  // namespace zentra
