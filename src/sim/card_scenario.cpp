#include "sim/card_scenario.h"
#include "platform/plain_text.h"

#include <algorithm>
#include <cctype>

namespace zentra::sim {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Splits at commas outside double quotes.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::string current;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      items.push_back(Trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!Trim(current).empty() || !items.empty()) items.push_back(Trim(current));
  return items;
}

DeviceSet ReadDeviceSet(const ScenarioFile& file, const std::string& section,
                        const std::string& key) {
  DeviceSet set;
  const auto raw = file.Raw(section, key);
  if (!raw) return set;
  for (const std::string& item : SplitList(*raw)) {
    if (item.empty()) continue;
    if (!ParseDeviceName(item, set)) {
      file.ReportProblem(section, key,
                         "\"" + item + "\" is no device (0..5, AnalogIn, AnalogOut, DigitalIn, "
                         "DigitalOut, AdatIn1..AdatIn4, AdatOut1..AdatOut4)");
    }
  }
  return set;
}

// DeviceNames=AnalogIn="Zentra Analog In III ",AdatOut1=Zentra ADAT Out
void ReadDeviceNames(const ScenarioFile& file, const std::string& section, CardSetup& card) {
  const auto raw = file.Raw(section, "DeviceNames");
  if (!raw) return;
  for (const std::string& item : SplitList(*raw)) {
    if (item.empty()) continue;
    const auto eq = item.find('=');
    DeviceSet which;
    if (eq == std::string::npos || !ParseDeviceName(Trim(item.substr(0, eq)), which)) {
      file.ReportProblem(section, "DeviceNames",
                         "\"" + item + "\" is not device=name with a device such as AnalogIn");
      continue;
    }
    std::string name = Trim(item.substr(eq + 1));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
      name = name.substr(1, name.size() - 2);
    }
    if (name.size() > 31) {
      file.ReportProblem(section, "DeviceNames",
                         "the name \"" + name + "\" is longer than 31 characters; cut");
      name.resize(31);
    }
    for (int pair = 0; pair < kSimPairsPerCard; ++pair) {
      if (which.record[pair]) card.recordNames[pair] = name;
      if (which.playback[pair]) card.playbackNames[pair] = name;
    }
  }
}

template <std::size_t N>
void ReadBytes(const ScenarioFile& file, const std::string& section, const std::string& key,
               std::array<std::uint8_t, N>& bytes) {
  if (!file.HasKey(section, key)) return;
  std::vector<std::int32_t> def(bytes.begin(), bytes.end());
  const auto values = file.GetIntList(section, key, def, 0, 255, N);
  if (values.size() != N) {
    file.ReportProblem(section, key, "needs " + std::to_string(N) + " byte values");
    return;
  }
  std::copy(values.begin(), values.end(), bytes.begin());
}

// InputRateSteps=5000:48000,10000:0 -- milliseconds:value pairs, each value
// within 0..maxValue.
TimedSteps ReadTimedSteps(const ScenarioFile& file, const std::string& section,
                          const std::string& key, const std::string& valueName,
                          std::int32_t maxValue) {
  TimedSteps steps;
  const auto raw = file.Raw(section, key);
  if (!raw) return steps;
  for (const std::string& item : SplitList(*raw)) {
    if (item.empty()) continue;
    const auto colon = item.find(':');
    std::int32_t at = 0;
    std::int32_t value = 0;
    if (colon == std::string::npos || !ParseInt32(Trim(item.substr(0, colon)), &at) ||
        !ParseInt32(Trim(item.substr(colon + 1)), &value) || at < 0 || value < 0 ||
        value > maxValue) {
      file.ReportProblem(section, key,
                         "\"" + item + "\" is not milliseconds:" + valueName + " (" + valueName +
                             " 0 to " + std::to_string(maxValue) + ")");
      continue;
    }
    steps.emplace_back(static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(value));
  }
  std::stable_sort(steps.begin(), steps.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return steps;
}

// Decimal or 0x-hexadecimal, 0 .. 0xFFFFFFFF.
bool ParseUInt32(const std::string& text, std::uint32_t* value) {
  std::string digits = AsciiLower(Trim(text));
  int base = 10;
  if (digits.rfind("0x", 0) == 0) {
    base = 16;
    digits = digits.substr(2);
  }
  if (digits.empty() || digits.size() > 10) return false;
  std::uint64_t result = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return false;
    result = result * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  if (result > 0xFFFFFFFFull) return false;
  *value = static_cast<std::uint32_t>(result);
  return true;
}

// RefuseMessages=DigitalIn:0x4034,DigitalOut:400D -- device:message
// entries, the message in hexadecimal (with or without 0x).
std::vector<RefusedMessage> ReadRefusedMessages(const ScenarioFile& file, const std::string& section) {
  std::vector<RefusedMessage> refused;
  const auto raw = file.Raw(section, "RefuseMessages");
  if (!raw) return refused;
  for (const std::string& item : SplitList(*raw)) {
    if (item.empty()) continue;
    const auto colon = item.find(':');
    RefusedMessage entry;
    std::string number = colon == std::string::npos ? "" : AsciiLower(Trim(item.substr(colon + 1)));
    if (number.rfind("0x", 0) != 0) number = "0x" + number;
    if (colon == std::string::npos || !ParseDeviceName(Trim(item.substr(0, colon)), entry.devices) ||
        number.size() == 2 || !ParseUInt32(number, &entry.message)) {
      file.ReportProblem(section, "RefuseMessages",
                         "\"" + item + "\" is not device:message with a device such as DigitalIn "
                         "and a hexadecimal message such as 0x4034");
      continue;
    }
    refused.push_back(entry);
  }
  return refused;
}

CardSetup ReadCard(const ScenarioFile& file, int card) {
  const std::string section = "Card" + std::to_string(card + 1);
  CardSetup setup;
  setup.inputRate = static_cast<std::uint32_t>(file.GetInt(section, "InputRate", 44100, 0, 1000000));
  setup.inputRateSteps = ReadTimedSteps(file, section, "InputRateSteps", "rate", 1000000);
  setup.outputSourceSteps[0] = ReadTimedSteps(file, section, "AnalogOutputSourceSteps", "source", 4);
  setup.outputSourceSteps[1] = ReadTimedSteps(file, section, "DigitalOutputSourceSteps", "source", 3);
  setup.otherAppPlaying = file.GetInt(section, "OtherAppPlaying", 0, 0, 255);
  setup.adatInUse = file.GetBool(section, "AdatInUse", false);
  setup.digitalInUse = file.GetBool(section, "DigitalInUse", false);
  setup.refuseSourceChange = file.GetBool(section, "RefuseSourceChange", false);
  setup.refuseInputRate = file.GetBool(section, "RefuseInputRate", false);
  setup.missing = ReadDeviceSet(file, section, "MissingDevices");
  setup.refuseOpen = ReadDeviceSet(file, section, "RefuseOpen");
  setup.refuseMeterStart = ReadDeviceSet(file, section, "RefuseMeterStart");
  setup.refusePeaks = ReadDeviceSet(file, section, "RefusePeaks");
  setup.refuseClose = ReadDeviceSet(file, section, "RefuseClose");
  setup.refuseMessages = ReadRefusedMessages(file, section);
  ReadDeviceNames(file, section, setup);
  setup.devnode = static_cast<std::uint32_t>(
      file.GetInt(section, "Devnode", 0x1000 + card + 1, 0, INT32_MAX));
  ReadBytes(file, section, "AnalogInputState", setup.analogInputState);
  ReadBytes(file, section, "DigitalInputState", setup.digitalInputState);
  ReadBytes(file, section, "AnalogOutputSource", setup.analogOutputSource);
  ReadBytes(file, section, "DigitalOutputSource", setup.digitalOutputSource);
  setup.channelStatus = static_cast<std::uint32_t>(
      file.GetInt(section, "ChannelStatus", 0x20, 0, 0xFFFF));
  if (file.HasKey(section, "Volume")) {
    const std::string text = file.GetString(section, "Volume", "");
    if (!ParseUInt32(text, &setup.volume)) {
      file.ReportProblem(section, "Volume", "\"" + text + "\" is no 32-bit volume");
    }
  }
  if (file.HasKey(section, "Mute")) {
    const auto values = file.GetIntList(section, "Mute", {0, 0}, 0, 0xFFFF, 2);
    if (values.size() == 2) {
      setup.mute = {static_cast<std::uint16_t>(values[0]), static_cast<std::uint16_t>(values[1])};
    } else {
      file.ReportProblem(section, "Mute", "needs two values (left, right)");
    }
  }
  return setup;
}

}  // namespace

std::uint32_t ValueAt(const TimedSteps& steps, std::uint64_t now, std::uint32_t base) {
  for (const auto& [at, value] : steps) {
    if (at > now) break;
    base = value;
  }
  return base;
}

void DropDueSteps(TimedSteps& steps, std::uint64_t now) {
  steps.erase(steps.begin(), std::find_if(steps.begin(), steps.end(),
                                          [now](const auto& step) { return step.first > now; }));
}

bool ParseDeviceName(const std::string& text, DeviceSet& set) {
  const std::string name = AsciiLower(Trim(text));
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '5') {
    const int pair = name[0] - '0';
    set.record[pair] = set.playback[pair] = true;
    return true;
  }
  static const std::pair<const char*, int> kNames[] = {
      {"analog", 0}, {"digital", 1}, {"adat1", 2}, {"adat2", 3}, {"adat3", 4}, {"adat4", 5}};
  for (const auto& [stem, pair] : kNames) {
    const std::string base = stem;
    // "adat1" is spelled AdatIn1 / AdatOut1: the number follows the direction.
    const bool adat = base.rfind("adat", 0) == 0;
    const std::string in = adat ? "adatin" + base.substr(4) : base + "in";
    const std::string out = adat ? "adatout" + base.substr(4) : base + "out";
    if (name == in) {
      set.record[pair] = true;
      return true;
    }
    if (name == out) {
      set.playback[pair] = true;
      return true;
    }
  }
  return false;
}

CardScenario CardScenario::Read(const ScenarioFile& file) {
  CardScenario scenario;
  for (int card = 0; card < kSimMaxCards; ++card) scenario.cards[card] = ReadCard(file, card);
  scenario.foreignDevices = file.GetBool("Wave", "ForeignDevices", true);
  scenario.removeCard = file.GetInt("Driver", "RemoveCard", 0, 0, kSimMaxCards);
  scenario.removeCardAfterMs =
      static_cast<std::uint32_t>(file.GetInt("Driver", "RemoveCardAfterMs", 0, 0, INT32_MAX));
  return scenario;
}

}  // namespace zentra::sim
