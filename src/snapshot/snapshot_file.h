// Mixer snapshot files: private-profile text with a head section
// [Mischpult] (Version, Karten) and one section per card ([Karte 1] ...)
// holding one decimal value per key of SnapshotValues().
#pragma once

#include <optional>
#include <string>

#include "snapshot/mixer_snapshot.h"

namespace zentra {

class KernelApi;

// Cards a file may hold.
constexpr int kSnapshotMaxCards = 4;

struct SnapshotFileRead {
  std::optional<MixerSnapshot> snapshot;  // set only when the whole file is good
  std::string problem;                    // the first problem found, otherwise empty
};

// Reads and checks the whole file: its head, then every card's every value.
SnapshotFileRead ReadSnapshotFile(KernelApi& kernel, const std::string& path);

// Writes the snapshot into a temporary file beside path and then puts it in
// the place of path, so an existing file is only ever replaced by a
// complete new one. Empty on success, otherwise what went wrong (the
// existing file is then as it was, no temporary file is left).
std::string WriteSnapshotFile(KernelApi& kernel, const std::string& path,
                              const MixerSnapshot& snapshot);

// The names of the temporary file and of the old file's copy while it is
// being replaced.
std::string SnapshotTemporaryPath(const std::string& path);
std::string SnapshotBackupPath(const std::string& path);

}  // namespace zentra
