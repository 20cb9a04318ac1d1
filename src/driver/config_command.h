// Configuration commands: the program hands a record to the driver's
// configuration entry point by launching "rundll.exe" with
// "Zentra.DRV,DriverConfig <name> $<record block> #<completion word>" and
// waits until the driver sets the completion word.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "platform/platform.h"

namespace zentra {

constexpr std::uint32_t kCmdGetStates = 16385;          // 0x4001, DriverStatesRecord (20 bytes)
constexpr std::uint32_t kCmdReconfigurable = 16386;     // 0x4002, 4-byte answer
constexpr std::uint32_t kCmdGetConfig = 16387;          // 0x4003, DriverConfigRecord (832 bytes)
constexpr std::uint32_t kCmdSetConfig = 16388;          // 0x4004, DriverConfigRecord (832 bytes)
constexpr std::uint32_t kCmdSetConfigOnTheFly = 16389;  // 0x4005, OnTheFlyBlock (48 bytes)

constexpr std::uint32_t kDriverStatesRecordSize = 20;
constexpr std::uint32_t kDriverConfigRecordBytes = 832;  // four 208-byte card blocks
constexpr std::int32_t kDriverStateReady = 1;

// The command's name on the driver's command line; nullptr for an unknown code.
const char* ConfigCommandName(std::uint32_t commandCode);

// The configuration gate: commands run only while it is non-zero. Start-up
// sets it to 1.
std::atomic<std::int32_t>& ConfigurationGate();

// Runs one command. Returns -1 when it was launched and the driver signalled
// completion, 0 otherwise. On -1 the record holds what the driver left in
// the command block; on 0 it holds what the caller sent (also when the
// driver did not answer in time: contents it may still be writing are not
// trusted). Blocks the calling thread for at most the wait limit.
std::int32_t ConfigCommand(const Platform& platform, std::int32_t gate,
                           std::uint32_t commandCode, void* record, std::int32_t size);

// How long a command waits for the driver's completion word (30 s unless set).
void SetConfigCommandTimeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds ConfigCommandTimeout();

// Blocks of commands the driver did not finish in time stay allocated (the
// driver may still write into them) until their completion word is set; each
// later command frees those. At program end, once the driver is gone, this
// frees the rest. Returns how many commands' blocks it freed.
int ReleaseAbandonedConfigBlocks();
// How many commands' blocks are held back.
int AbandonedConfigBlockCount();

// Frees the abandoned blocks when it goes out of scope. The program entry
// declares it after the platform services (and after the driver, which it
// stops first), so the blocks are freed while the service that frees them
// still exists; nothing frees them later.
class AbandonedConfigBlocksRelease {
 public:
  AbandonedConfigBlocksRelease() = default;
  ~AbandonedConfigBlocksRelease() { ReleaseAbandonedConfigBlocks(); }
  AbandonedConfigBlocksRelease(const AbandonedConfigBlocksRelease&) = delete;
  AbandonedConfigBlocksRelease& operator=(const AbandonedConfigBlocksRelease&) = delete;
};

}  // namespace zentra
