// Fuzzes the mixer snapshot reader with arbitrary file contents, loaded the
// way the control window's " Mischpult laden..." loads them, on two
// simulated cards. A file the reader refuses must name a problem, give
// exactly one message and send nothing at all to the driver; a file it takes
// must hold only values inside their ranges, survive writing and reading
// back unchanged, and load without a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/snapshot_commands.h"
#include "driver/device_tables.h"
#include "driver/discovery.h"
#include "snapshot/snapshot_file.h"
#include "support/program_rig.h"

namespace {

using namespace zentra;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool InRange(const MixerSnapshot& snapshot) {
  if (snapshot.cards.empty() || snapshot.cards.size() > static_cast<std::size_t>(kSnapshotMaxCards))
    return false;
  for (const CardSnapshot& card : snapshot.cards)
    for (const SnapshotValue& v : SnapshotValues())
      if (card.*v.field < v.minimum || card.*v.field > v.maximum) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::ProgramRig rig("[Cards]\nCount=2\n");
  rig.kernel().KeepFilesInMemory();  // the file is read many times, and written back
  rig.user().SetMessageBoxHandler([](const MessageBoxCall&) { return 1; });
  Discover(rig.platform());
  Check(CardCount == 2);

  const std::string path = (rig.IniPath().parent_path() / "Fuzz.zmx").string();
  Check(rig.kernel().PutFile(path, std::string(reinterpret_cast<const char*>(data), size)));

  const SnapshotFileRead file = ReadSnapshotFile(rig.kernel(), path);
  if (file.snapshot) {
    Check(file.problem.empty());
    Check(InRange(*file.snapshot));
    const std::string copy = path + ".copy";
    Check(WriteSnapshotFile(rig.kernel(), copy, *file.snapshot).empty());
    const SnapshotFileRead back = ReadSnapshotFile(rig.kernel(), copy);
    Check(back.snapshot.has_value() && *back.snapshot == *file.snapshot);
  } else {
    Check(!file.problem.empty());
  }

  rig.driver().callLog().Clear();
  rig.dialogs().QueueAnswer(path);
  const bool applied = LoadMixerSnapshot(0);
  Check(applied == file.snapshot.has_value());
  if (!file.snapshot) {
    Check(rig.driver().callLog().Records().empty());
    Check(rig.user().MessageBoxes().size() == 1);
  }
  return 0;
}
