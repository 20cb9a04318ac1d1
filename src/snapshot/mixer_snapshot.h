// A mixer snapshot: every value the six mixer windows set through the
// driver, for each card. One table names each value's file key and range;
// the file reader and writer and the driver exchange all work from it.
#pragma once

#include <string>
#include <vector>

namespace zentra {

struct CardSnapshot {
  int analogInputMonitorDestination = 1;   // 1 analog, 2 digital output
  int analogInputMonitoring = 0;           // 0 never, 1 recording, 2 punch recording
  int digitalInputSelect = 1;              // 1 optical, 2 electrical
  int digitalInputMonitorDestination = 1;  // as for the analog input
  int digitalInputMonitoring = 0;
  int analogOutputSource = 0;              // 0 program .. 4 ADAT input (kSource... codes)
  int analogOutputAdatLeft = 0;            // ADAT channel 0..7 of each side
  int analogOutputAdatRight = 1;
  int analogOutputVolumeLeft = 0;          // device volume 0..65535
  int analogOutputVolumeRight = 0;
  int analogOutputMuteLeft = 0;            // 0 or 1
  int analogOutputMuteRight = 0;
  int digitalOutputSource = 0;             // 0 program .. 3 digital input
  int digitalOutputFormat = 0;             // 0 S/PDIF, 1 AES/EBU
  int digitalOutputAudio = 1;              // the audio bit of AES/EBU (S/PDIF always carries audio)

  bool operator==(const CardSnapshot&) const = default;
};

struct MixerSnapshot {
  std::vector<CardSnapshot> cards;
  bool operator==(const MixerSnapshot&) const = default;
};

// One value of a card: its key in the file, its range and where it lives.
struct SnapshotValue {
  const char* key;
  int minimum;
  int maximum;
  int CardSnapshot::*field;
};

// Every value of a card, in the order of the file.
const std::vector<SnapshotValue>& SnapshotValues();

// The file's head section and its keys, and the section of card index c
// ("Karte 1" for index 0).
constexpr const char* kSnapshotSection = "Mischpult";
constexpr const char* kSnapshotVersionKey = "Version";
constexpr const char* kSnapshotCardsKey = "Karten";
constexpr int kSnapshotVersion = 1;
std::string CardSection(int card);
// "Karte 2" for index 1: how messages name a card.
std::string CardName(int card);

}  // namespace zentra
