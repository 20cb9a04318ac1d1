// The control window on simulated cards with a folder of its own for
// snapshot files: the save and load items driven through the system menu
// and the scripted file dialogs.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/snapshot_commands.h"
#include "mixer/mixer_rig.h"
#include "snapshot/mixer_snapshot.h"

namespace zentra::testing {

class SnapshotRig : public MixerRig {
 public:
  explicit SnapshotRig(int cards, const std::string& more = "")
      : MixerRig(cards, more), folder_(ProgramRig::UniqueDirectory()) {
    std::filesystem::create_directories(folder_);
    rig.kernel().SetModuleFileName((folder_ / "ZentraManager.exe").string());
    control->Show();
    ClearLog();
  }
  ~SnapshotRig() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  const std::filesystem::path& Folder() const { return folder_; }

  // The menu item chosen with the dialog answering path (nullopt: cancelled).
  void Save(std::optional<std::string> path) { Choose(kSaveSnapshotCommand, std::move(path)); }
  void Load(std::optional<std::string> path) { Choose(kLoadSnapshotCommand, std::move(path)); }

  void WriteFile(const std::string& path, const std::string& text) const {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::vector<MessageBoxCall> Boxes() { return rig.user().MessageBoxes(); }

 private:
  void Choose(std::uintptr_t command, std::optional<std::string> path) {
    rig.dialogs().QueueAnswer(std::move(path));
    control->Perform(WM_SYSCOMMAND, command, 0);
  }

  std::filesystem::path folder_;
};

// Every value of a card different from the simulated driver's defaults
// (and from card to card, by k).
inline CardSnapshot ChangedCard(int k) {
  CardSnapshot c;
  c.analogInputMonitorDestination = 2;
  c.analogInputMonitoring = 1 + k % 2;
  c.digitalInputSelect = 2;
  c.digitalInputMonitorDestination = 2;
  c.digitalInputMonitoring = 2 - k % 2;
  c.analogOutputSource = 2;  // the analog input
  c.analogOutputAdatLeft = 2 + k;
  c.analogOutputAdatRight = 7 - k;
  c.analogOutputVolumeLeft = 1000 + k;
  c.analogOutputVolumeRight = 2000 + k;
  c.analogOutputMuteLeft = 1;
  c.analogOutputMuteRight = k % 2;
  c.digitalOutputSource = 3;  // the digital input
  c.digitalOutputFormat = 1;
  c.digitalOutputAudio = 0;
  return c;
}

// A snapshot file's text for the cards, one key a line as the program writes it.
inline std::string SnapshotText(const std::vector<CardSnapshot>& cards) {
  std::string text = "[Mischpult]\r\nVersion=1\r\nKarten=" + std::to_string(cards.size()) + "\r\n";
  for (std::size_t i = 0; i < cards.size(); ++i) {
    text += "[Karte " + std::to_string(i + 1) + "]\r\n";
    for (const SnapshotValue& v : SnapshotValues())
      text += std::string(v.key) + "=" + std::to_string(cards[i].*v.field) + "\r\n";
  }
  return text;
}

}  // namespace zentra::testing
