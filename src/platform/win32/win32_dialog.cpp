#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/text_encoding.h"
#include "platform/win32/win32_platform.h"

namespace zentra {
namespace {

// Runs one of the two file dialogs on the record. The record has the size
// Windows 95 and 98 know (without the fields later systems added).
bool RunFileDialog(FileDialogRecord& record, bool save) {
  const std::string filter = Utf8ToCp1252(record.filterDescription) + '\0' +
                             Utf8ToCp1252(record.filterPattern) + '\0' + '\0';
  const std::string directory = Utf8ToCp1252(record.initialDirectory);
  const std::string extension = Utf8ToCp1252(record.defaultExtension);
  char path[MAX_PATH + 1] = {};
  const std::string offered = Utf8ToCp1252(record.fileName);
  std::strncpy(path, offered.c_str(), MAX_PATH);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = reinterpret_cast<HWND>(record.owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? ::GetSaveFileNameA(&dialog) : ::GetOpenFileNameA(&dialog);
  if (!chosen) return false;
  record.fileName = Cp1252ToUtf8(path);
  return true;
}

}  // namespace

bool Win32DialogApi::GetSaveFileNameA(FileDialogRecord& record) { return RunFileDialog(record, true); }

bool Win32DialogApi::GetOpenFileNameA(FileDialogRecord& record) { return RunFileDialog(record, false); }

}  // namespace zentra
