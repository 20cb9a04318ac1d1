// Window descriptions embedded into the binary at build time.
#pragma once

#include <cstddef>

namespace zentra {

struct EmbeddedResource {
  const char* name;  // file name, e.g. "about.wnd"
  const char* text;  // NUL-terminated contents
  std::size_t size;  // bytes, without the terminating NUL
};

// nullptr when no description of that name was embedded.
const EmbeddedResource* FindEmbeddedResource(const char* name);

}  // namespace zentra
