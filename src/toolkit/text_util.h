// Caption helpers shared by the backends and tests.
#pragma once

#include <string>

namespace zentra {

// The text a caption shows: "&&" stands for one ampersand, a single "&"
// marks the next character as the accelerator and is not shown.
std::string StripAccelerators(const std::string& caption);

}  // namespace zentra
