// The system's common dialogs: choosing a file to save to or to open.
#pragma once

#include <string>

#include "platform/win_defs.h"

namespace zentra {

// What a file dialog is asked and what it answers. Texts are UTF-8; the
// Win32 forward converts them to the ANSI code page.
struct FileDialogRecord {
  WinHandle owner = 0;
  // Pairs of description and pattern, e.g. {"Zentra Mischpult (*.zmx)", "*.zmx"}.
  std::string filterDescription;
  std::string filterPattern;
  std::string initialDirectory;
  // In: the name offered; out: the full path chosen.
  std::string fileName;
  // Added to a name typed without an extension (without the dot).
  std::string defaultExtension;
};

class DialogApi {
 public:
  virtual ~DialogApi() = default;
  // GetSaveFileNameA (asks before overwriting) and GetOpenFileNameA (only
  // existing files): true and record.fileName set when the user chose a
  // file, false when the dialog was cancelled or could not be shown.
  virtual bool GetSaveFileNameA(FileDialogRecord& record) = 0;
  virtual bool GetOpenFileNameA(FileDialogRecord& record) = 0;
};

}  // namespace zentra
