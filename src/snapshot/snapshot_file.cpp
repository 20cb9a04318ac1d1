#include "snapshot/snapshot_file.h"

#include "platform/kernel_api.h"
#include "winutil/profile_section.h"

namespace zentra {
namespace {

// A value as the file holds it: decimal digits only (at most nine, so no
// overflow), without sign or blanks inside.
std::optional<int> ParseDecimal(const std::string& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// One value checked against its range; the problem when it is not good.
std::optional<int> ReadValue(const ProfileSection& section, const std::string& key, int minimum,
                             int maximum, std::string* problem) {
  const std::string text = section.ReadString(key, "");
  const std::string where = "[" + section.Section() + "] " + key;
  if (text.empty()) {
    *problem = where + " fehlt.";
    return std::nullopt;
  }
  const std::optional<int> value = ParseDecimal(text);
  if (!value) {
    *problem = where + "=" + text + " ist keine Dezimalzahl.";
  } else if (*value < minimum || *value > maximum) {
    *problem = where + "=" + text + " liegt nicht zwischen " + std::to_string(minimum) + " und " +
               std::to_string(maximum) + ".";
  } else {
    return value;
  }
  return std::nullopt;
}

}  // namespace

std::string SnapshotTemporaryPath(const std::string& path) { return path + ".neu"; }
std::string SnapshotBackupPath(const std::string& path) { return path + ".alt"; }

SnapshotFileRead ReadSnapshotFile(KernelApi& kernel, const std::string& path) {
  SnapshotFileRead result;
  const ProfileSection head(&kernel, path, kSnapshotSection);
  if (head.ReadString(kSnapshotVersionKey, "").empty()) {
    result.problem = "Die Datei ist kein Zentra Mischpult (kein Abschnitt [Mischpult] mit Version).";
    return result;
  }
  const std::optional<int> version = ParseDecimal(head.ReadString(kSnapshotVersionKey, ""));
  if (!version || *version != kSnapshotVersion) {
    result.problem = "Version " + head.ReadString(kSnapshotVersionKey, "") +
                     " wird nicht unterstützt, nur Version " + std::to_string(kSnapshotVersion) + ".";
    return result;
  }
  const std::optional<int> cards =
      ReadValue(head, kSnapshotCardsKey, 1, kSnapshotMaxCards, &result.problem);
  if (!cards) return result;
  MixerSnapshot snapshot;
  for (int card = 0; card < *cards; ++card) {
    const ProfileSection section(&kernel, path, CardSection(card));
    CardSnapshot values;
    for (const SnapshotValue& v : SnapshotValues()) {
      const std::optional<int> value = ReadValue(section, v.key, v.minimum, v.maximum, &result.problem);
      if (!value) return result;
      values.*v.field = *value;
    }
    snapshot.cards.push_back(values);
  }
  result.snapshot = std::move(snapshot);
  return result;
}

std::string WriteSnapshotFile(KernelApi& kernel, const std::string& path,
                              const MixerSnapshot& snapshot) {
  const std::string temporary = SnapshotTemporaryPath(path);
  const std::string backup = SnapshotBackupPath(path);
  const std::string failed = "Die Datei konnte nicht geschrieben werden.";
  kernel.DeleteFileA(temporary.c_str());  // a leftover of an earlier failure

  bool written = true;
  ProfileSection head(&kernel, temporary, kSnapshotSection);
  written = written && head.WriteInteger(kSnapshotVersionKey, kSnapshotVersion);
  written = written && head.WriteInteger(kSnapshotCardsKey, static_cast<int>(snapshot.cards.size()));
  for (std::size_t card = 0; card < snapshot.cards.size() && written; ++card) {
    ProfileSection section(&kernel, temporary, CardSection(static_cast<int>(card)));
    for (const SnapshotValue& v : SnapshotValues())
      written = written && section.WriteInteger(v.key, snapshot.cards[card].*v.field);
  }
  // The cached file goes to disk. What this call answers differs between
  // systems (some always answer false), so the file is read back instead:
  // only a temporary file that holds the whole snapshot takes the place of
  // the old one.
  kernel.WritePrivateProfileStringA(nullptr, nullptr, nullptr, temporary.c_str());
  if (written) {
    const SnapshotFileRead back = ReadSnapshotFile(kernel, temporary);
    written = back.snapshot.has_value() && *back.snapshot == snapshot;
  }
  if (!written) {
    kernel.DeleteFileA(temporary.c_str());
    return failed;
  }

  // The old file steps aside until the new one is in its place.
  const bool replacing = kernel.GetFileAttributesA(path.c_str()) != kInvalidFileAttributes;
  if (replacing) {
    kernel.DeleteFileA(backup.c_str());
    if (!kernel.MoveFileA(path.c_str(), backup.c_str())) {
      kernel.DeleteFileA(temporary.c_str());
      return "Die vorhandene Datei konnte nicht ersetzt werden.";
    }
  }
  if (!kernel.MoveFileA(temporary.c_str(), path.c_str())) {
    if (replacing) kernel.MoveFileA(backup.c_str(), path.c_str());
    kernel.DeleteFileA(temporary.c_str());
    return failed;
  }
  if (replacing) kernel.DeleteFileA(backup.c_str());
  return {};
}

}  // namespace zentra
