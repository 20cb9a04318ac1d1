// Small text helpers for the INI-style files the program and the simulated
// driver read (profile files, scenario files): keys compare without regard to
// case and values lose surrounding white space.
#pragma once

#include <string>

namespace zentra {

// The text with ASCII letters in lower case.
std::string AsciiLower(std::string text);
// The text without leading and trailing white space.
std::string TrimSpace(const std::string& text);

}  // namespace zentra
