#include "toolkit/text_util.h"

namespace zentra {

std::string StripAccelerators(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace zentra
