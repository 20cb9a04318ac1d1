#include "app/snapshot_commands.h"

#include <vector>

#include "driver/device_tables.h"
#include "platform/platform.h"
#include "snapshot/snapshot_driver.h"
#include "snapshot/snapshot_file.h"
#include "toolkit/application.h"

namespace zentra {

const BilingualMenuItem kSaveSnapshotItem = {kSaveSnapshotCommand, " Mischpult speichern...",
                                             " Save mixer..."};
const BilingualMenuItem kLoadSnapshotItem = {kLoadSnapshotCommand, " Mischpult laden...",
                                             " Load mixer..."};

namespace {

// The file the user chose in the dialog, or nothing when it was cancelled.
std::optional<std::string> ChooseFile(WinHandle owner, bool save) {
  DialogApi* dialogs = CurrentPlatform().dialogs;
  if (dialogs == nullptr) return std::nullopt;
  FileDialogRecord record;
  record.owner = owner;
  record.filterDescription = kSnapshotFilterDescription;
  record.filterPattern = kSnapshotFilterPattern;
  record.initialDirectory = ProgramDirectory();
  record.fileName = save ? kSnapshotDefaultName : "";
  record.defaultExtension = kSnapshotExtension;
  const bool chosen = save ? dialogs->GetSaveFileNameA(record) : dialogs->GetOpenFileNameA(record);
  // The dialog lets messages through: when the program ended meanwhile (a
  // card was removed), nothing is read, sent or written any more.
  if (Application::Instance().Terminated()) return std::nullopt;
  if (!chosen || record.fileName.empty()) return std::nullopt;
  return record.fileName;
}

void Report(WinHandle owner, const std::string& text, std::uint32_t icon) {
  Application::Instance().MessageBox(text, kSnapshotErrorCaption, icon, owner);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\r\n" + line;
  return text;
}

}  // namespace

std::string ProgramDirectory() {
  KernelApi* kernel = CurrentPlatform().kernel;
  if (kernel == nullptr) return {};
  char path[261] = {};
  const std::uint32_t n = kernel->GetModuleFileNameA(path, sizeof path);
  const std::string file(path, n);
  const std::size_t slash = file.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

void SaveMixerSnapshot(WinHandle owner) {
  const std::optional<std::string> path = ChooseFile(owner, true);
  if (!path) return;
  const DriverStateRead state = ReadMixerState(CurrentPlatform(), CardCount);
  if (!state.snapshot) {
    Report(owner, "Das Mischpult wurde nicht gespeichert.\r\n" + state.problem, MB_ICONERROR);
    return;
  }
  const std::string problem = WriteSnapshotFile(*CurrentPlatform().kernel, *path, *state.snapshot);
  if (!problem.empty())
    Report(owner, "Das Mischpult konnte nicht in " + *path + " gespeichert werden.\r\n" + problem,
           MB_ICONERROR);
}

bool LoadMixerSnapshot(WinHandle owner) {
  const std::optional<std::string> path = ChooseFile(owner, false);
  if (!path) return false;
  const SnapshotFileRead file = ReadSnapshotFile(*CurrentPlatform().kernel, *path);
  if (!file.snapshot) {
    Report(owner, "Das Mischpult " + *path + " wurde nicht geladen.\r\n" + file.problem, MB_ICONERROR);
    return false;
  }
  const std::vector<std::string> notApplied =
      ApplyMixerSnapshot(CurrentPlatform(), *file.snapshot, CardCount);

  std::vector<std::string> report;
  const int inFile = static_cast<int>(file.snapshot->cards.size());
  if (inFile > CardCount) {
    std::string leftOut;
    for (int card = CardCount; card < inFile; ++card)
      leftOut += (leftOut.empty() ? "" : ", ") + CardName(card);
    report.push_back("Ausgelassen, weil nicht vorhanden: " + leftOut + ".");
  }
  if (!notApplied.empty()) report.push_back("Vom Treiber nicht übernommen:" + Joined(notApplied));
  if (!report.empty()) {
    std::string text = "Das Mischpult " + *path + " wurde nicht ganz geladen.";
    for (const std::string& part : report) text += "\r\n" + part;
    Report(owner, text, notApplied.empty() ? MB_ICONINFORMATION : MB_ICONERROR);
  }
  return true;
}

}  // namespace zentra
