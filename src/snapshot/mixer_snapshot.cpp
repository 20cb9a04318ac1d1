#include "snapshot/mixer_snapshot.h"

namespace zentra {

const std::vector<SnapshotValue>& SnapshotValues() {
  static const std::vector<SnapshotValue> values = {
      {"AnalogInputMonitorDestination", 1, 2, &CardSnapshot::analogInputMonitorDestination},
      {"AnalogInputMonitoring", 0, 2, &CardSnapshot::analogInputMonitoring},
      {"DigitalInputSelect", 1, 2, &CardSnapshot::digitalInputSelect},
      {"DigitalInputMonitorDestination", 1, 2, &CardSnapshot::digitalInputMonitorDestination},
      {"DigitalInputMonitoring", 0, 2, &CardSnapshot::digitalInputMonitoring},
      {"AnalogOutputSource", 0, 4, &CardSnapshot::analogOutputSource},
      {"AnalogOutputAdatLeft", 0, 7, &CardSnapshot::analogOutputAdatLeft},
      {"AnalogOutputAdatRight", 0, 7, &CardSnapshot::analogOutputAdatRight},
      {"AnalogOutputVolumeLeft", 0, 65535, &CardSnapshot::analogOutputVolumeLeft},
      {"AnalogOutputVolumeRight", 0, 65535, &CardSnapshot::analogOutputVolumeRight},
      {"AnalogOutputMuteLeft", 0, 1, &CardSnapshot::analogOutputMuteLeft},
      {"AnalogOutputMuteRight", 0, 1, &CardSnapshot::analogOutputMuteRight},
      {"DigitalOutputSource", 0, 3, &CardSnapshot::digitalOutputSource},
      {"DigitalOutputFormat", 0, 1, &CardSnapshot::digitalOutputFormat},
      {"DigitalOutputAudio", 0, 1, &CardSnapshot::digitalOutputAudio},
  };
  return values;
}

std::string CardSection(int card) { return CardName(card); }

std::string CardName(int card) { return "Karte " + std::to_string(card + 1); }

}  // namespace zentra
