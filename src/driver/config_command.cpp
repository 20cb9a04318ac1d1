#include "driver/config_command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "driver/shared16_block.h"

namespace zentra {
namespace {

constexpr std::intptr_t kLaunchSucceededAbove = 32;
constexpr std::size_t kParameterBufferSize = 256;
constexpr std::uint32_t kLauncherEndGraceMs = 250;

struct CommandName {
  std::uint32_t code;
  const char* name;
};
constexpr CommandName kCommandNames[] = {
    {kCmdGetStates, "getstates"},
    {kCmdReconfigurable, "reconfigurable"},
    {kCmdGetConfig, "getconfig"},
    {kCmdSetConfig, "setconfig"},
    {kCmdSetConfigOnTheFly, "setconfig_onthefly"},
};

std::atomic<std::int64_t> g_timeoutMs{30000};

// The two blocks of a command the driver has not finished.
struct AbandonedCommand {
  Shared16Block commandBlock;
  Shared16Block completionWord;
};
// Commands are issued from the program's window thread only (start-up, the
// control window, the settings dialog, device removal), so the list needs no
// lock; the product has no thread of its own. The list is never destroyed:
// releasing a block calls the 16-bit memory service, which is gone by the
// time static objects are destroyed. What is still in it then stays with the
// ending process.
std::vector<AbandonedCommand>& Abandoned() {
  static auto* const list = new std::vector<AbandonedCommand>;
  return *list;
}

// The driver writes the word from elsewhere: read it from memory each time.
std::uint32_t ReadCompletionWord(const void* word) {
  return __atomic_load_n(static_cast<const std::uint32_t*>(word), __ATOMIC_ACQUIRE);
}

void FreeInOrder(AbandonedCommand& command) {
  command.commandBlock.Release();
  command.completionWord.Release();
}

// Frees the blocks of abandoned commands whose completion word is now set.
void ReleaseFinishedAbandoned() {
  auto& abandoned = Abandoned();
  for (auto it = abandoned.begin(); it != abandoned.end();) {
    if (ReadCompletionWord(it->completionWord.Pointer()) != 0) {
      FreeInOrder(*it);
      it = abandoned.erase(it);
    } else {
      ++it;
    }
  }
}

// Launches the command; true when the launch succeeded. *launcher receives
// the launcher's process where the system hands one back (0 otherwise).
bool Launch(ShellApi& shell, const char* name, std::uint32_t recordAddress,
            std::uint32_t completionAddress, WinHandle* launcher) {
  char parameters[kParameterBufferSize];
  std::snprintf(parameters, sizeof parameters, "Zentra.DRV,DriverConfig %s $%08X #%08X", name,
                static_cast<unsigned>(recordAddress), static_cast<unsigned>(completionAddress));
  ShellExecuteRecord launch;
  launch.mask = SEE_MASK_NOCLOSEPROCESS;
  launch.file = "rundll.exe";
  launch.parameters = parameters;
  launch.directory = "";
  launch.show = SW_SHOWDEFAULT;
  const bool launched = shell.ShellExecuteExA(launch) && launch.instApp > kLaunchSucceededAbove;
  *launcher = launch.process;
  return launched;
}

// Waits for the completion word; false when the time limit passed first, or
// when the launcher's process ended without the driver having written it:
// the driver writes the word before its entry point returns, so it never
// will. The last write gets a short grace, as the process may be seen
// ending a moment before its write is seen.
bool WaitForCompletion(KernelApi& kernel, const void* word, WinHandle launcher) {
  // The limit is at most 2^31 ms so that the unsigned difference of two tick
  // readings (which wrap after 49.7 days) compares correctly.
  const auto limit = static_cast<std::uint32_t>(
      std::min<std::int64_t>(g_timeoutMs.load(), std::numeric_limits<std::int32_t>::max()));
  const std::uint32_t start = kernel.TickCount();
  bool launcherEnded = false;
  std::uint32_t endedAt = 0;
  while (ReadCompletionWord(word) == 0) {
    const std::uint32_t now = kernel.TickCount();
    if (now - start >= limit) return ReadCompletionWord(word) != 0;
    if (!launcherEnded && launcher != 0 &&
        kernel.WaitForSingleObject(launcher, 0) == WAIT_OBJECT_0) {
      launcherEnded = true;
      endedAt = now;
    }
    if (launcherEnded && now - endedAt >= kLauncherEndGraceMs)
      return ReadCompletionWord(word) != 0;
    kernel.Sleep(1);
  }
  return true;
}

}  // namespace

const char* ConfigCommandName(std::uint32_t commandCode) {
  for (const auto& entry : kCommandNames)
    if (entry.code == commandCode) return entry.name;
  return nullptr;
}

std::atomic<std::int32_t>& ConfigurationGate() {
  static std::atomic<std::int32_t> gate{0};
  return gate;
}

void SetConfigCommandTimeout(std::chrono::milliseconds timeout) {
  g_timeoutMs = timeout.count() < 0 ? 0 : timeout.count();
}

std::chrono::milliseconds ConfigCommandTimeout() {
  return std::chrono::milliseconds(g_timeoutMs.load());
}

std::int32_t ConfigCommand(const Platform& platform, std::int32_t gate,
                           std::uint32_t commandCode, void* record, std::int32_t size) {
  if (gate == 0 || size < 0 || (size > 0 && record == nullptr)) return 0;
  ReleaseFinishedAbandoned();

  const auto bytes = static_cast<std::uint32_t>(size);
  AbandonedCommand blocks;
  void* word = blocks.completionWord.AllocateMapped(*platform.wow16, 4, kQueryBlockFlags);
  if (word == nullptr) return 0;
  void* shared = blocks.commandBlock.AllocateMapped(*platform.wow16, bytes, kQueryBlockFlags);
  if (shared == nullptr) {
    FreeInOrder(blocks);
    return 0;
  }
  std::memcpy(shared, record, bytes);

  std::int32_t result = 0;
  const char* name = ConfigCommandName(commandCode);
  WinHandle launcher = 0;
  if (name != nullptr &&
      Launch(*platform.shell, name, blocks.commandBlock.Address(),
             blocks.completionWord.Address(), &launcher)) {
    const bool completed = WaitForCompletion(*platform.kernel, word, launcher);
    if (launcher != 0) platform.kernel->CloseHandle(launcher);
    if (!completed) {
      // The driver never said it finished: leave the caller's record as it
      // was sent, and keep both blocks alive because the driver may still
      // write into them.
      Abandoned().push_back(std::move(blocks));
      return 0;
    }
    result = -1;
  } else if (launcher != 0) {
    platform.kernel->CloseHandle(launcher);
  }
  std::memcpy(record, shared, bytes);
  FreeInOrder(blocks);
  return result;
}

int ReleaseAbandonedConfigBlocks() {
  auto& abandoned = Abandoned();
  const int count = static_cast<int>(abandoned.size());
  for (auto& command : abandoned) FreeInOrder(command);
  abandoned.clear();
  return count;
}

int AbandonedConfigBlockCount() {
  return static_cast<int>(Abandoned().size());
}

}  // namespace zentra
