#include "sim/driver_config.h"

#include <cstring>
#include <vector>

namespace zentra::sim {
namespace {

bool ParseHexField(const std::string& text, std::size_t at, char prefix, std::uint32_t* value) {
  if (at + 9 > text.size() || text[at] != prefix) return false;
  std::uint32_t v = 0;
  for (std::size_t i = at + 1; i < at + 9; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') v = (v << 4) | static_cast<std::uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F') v = (v << 4) | static_cast<std::uint32_t>(c - 'A' + 10);
    else return false;
  }
  *value = v;
  return true;
}

void PutLe32(std::uint8_t* at, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::uint32_t ConfigRecordSize(const std::string& name) {
  if (name == "getstates") return kDriverStatesRecordSize;
  if (name == "reconfigurable") return kReconfigurableAnswerSize;
  if (name == "getconfig" || name == "setconfig") return kDriverConfigRecordSize;
  if (name == "setconfig_onthefly") return kOnTheFlyBlockSize;
  return 0;
}

bool ParseConfigCommandText(const std::string& text, ParsedConfigCommand* out) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string::npos || blank == 0) return false;
  ParsedConfigCommand p;
  p.name = text.substr(0, blank);
  const std::size_t record = blank + 1;
  const std::size_t completion = record + 10;
  if (!ParseHexField(text, record, '$', &p.recordAddress)) return false;
  if (completion - 1 >= text.size() || text[completion - 1] != ' ') return false;
  if (!ParseHexField(text, completion, '#', &p.completionAddress)) return false;
  if (text.size() != completion + 9) return false;
  *out = p;
  return true;
}

DriverConfigEntry::DriverConfigEntry(DriverMemory& memory, CallLog& log,
                                     const DriverScenario& scenario, ConfigStore& store)
    : memory_(memory), log_(log), scenario_(scenario), store_(store) {}

bool DriverConfigEntry::Run(const std::string& parameterText, bool writeCompletion) {
  CallRecord entry;
  entry.kind = CallRecord::Kind::ConfigCommand;
  entry.parameters = parameterText;

  ParsedConfigCommand cmd;
  if (!ParseConfigCommandText(parameterText, &cmd)) {
    entry.command = parameterText.substr(0, parameterText.find(' '));
    log_.Add(std::move(entry));  // malformed command line: nothing done
    return false;
  }
  entry.command = cmd.name;
  const std::uint32_t size = ConfigRecordSize(cmd.name);
  std::uint32_t word = 0;
  std::vector<std::uint8_t> record(size);
  if (size == 0 || !memory_.Read(cmd.completionAddress, &word, sizeof word) ||
      !memory_.Read(cmd.recordAddress, record.data(), size)) {
    log_.Add(std::move(entry));  // unknown command or address: nothing done
    return false;
  }
  entry.blockBefore = record;

  if (cmd.name == "getstates") {
    PutLe32(record.data(), scenario_.driverState);
    for (int i = 0; i < DriverScenario::kMaxCards; ++i)
      PutLe32(record.data() + 4 + 4 * i, scenario_.cardStates[i]);
  } else if (cmd.name == "reconfigurable") {
    PutLe32(record.data(), scenario_.reconfigurable ? 1 : 0);
  } else if (cmd.name == "getconfig") {
    const DriverConfigBytes stored = store_.Record();
    std::memcpy(record.data(), stored.data(), size);
  } else if (cmd.name == "setconfig") {
    DriverConfigBytes taken;
    std::memcpy(taken.data(), record.data(), size);
    store_.SetRecord(taken);
  } else {  // setconfig_onthefly
    OnTheFlyBytes taken;
    std::memcpy(taken.data(), record.data(), size);
    store_.SetOnTheFly(taken);
  }

  // The record first; the completion word only after it, so the program
  // never sees "complete" before the record is final.
  const bool written = memory_.Write(cmd.recordAddress, record.data(), size);
  if (written) entry.blockAfter = record;
  entry.result = written && writeCompletion ? 1 : 0;
  log_.Add(std::move(entry));
  if (written && writeCompletion) memory_.StoreWord32(cmd.completionAddress, kCommandComplete);
  return written;
}

}  // namespace zentra::sim
