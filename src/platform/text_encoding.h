// The sources hold texts in UTF-8; the platform's ANSI functions take the
// Windows-1252 code page (the German texts contain ä, ö, ü and ß).
#pragma once

#include <string>

namespace zentra {

// Characters without a Windows-1252 form become '?'.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& ansi);

}  // namespace zentra
