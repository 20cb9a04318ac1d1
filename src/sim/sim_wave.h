// The system's wave layer as the simulated driver presents it: every present
// card's twelve devices (manufacturer 190; record products 14 analog,
// 16 digital, 18 ADAT; playback 13, 15, 17) among devices of other makers and
// products. Only control opens (a format with the four "CTRL" bytes after the
// 18-byte header, cbSize 4) on card devices succeed; every handle is tracked
// so tests can prove all were closed; closing or messaging an unknown handle
// fails. Every open, close and control message is logged.
//
// Open records in the call log: handle (0 when refused), message = fdwOpen,
// dw1 = dwCallback, dw2 = dwInstance, deviceSlot = the card device's slot
// (-1 for another maker's device), result.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/wave_api.h"
#include "sim/call_log.h"
#include "sim/sim_cards.h"

namespace zentra::sim {

// Wave layer errors not among the shared constants.
constexpr std::uint32_t kMmsyserrAllocated = 4;  // MMSYSERR_ALLOCATED
constexpr std::uint32_t kWaverrBadFormat = 32;   // WAVERR_BADFORMAT

struct SimWaveDevice {
  std::uint16_t manufacturer = 0;
  std::uint16_t product = 0;
  std::string name;
  int card = -1;  // -1: not a card device
  int pair = -1;
};

struct SimWaveHandle {
  WinHandle handle = 0;
  bool record = false;
  std::uint32_t deviceId = 0;
  int slot = -1;
  std::uintptr_t callback = 0;
  std::uintptr_t instance = 0;
  std::uint32_t flags = 0;
};

class SimWave : public WaveApi {
 public:
  SimWave(SimCards& cards, CallLog& log);

  // The generated name of a card device: "Zentra Analog In II",
  // "Zentra ADAT Out 9-10" (ADAT channels count on across cards).
  static std::string DefaultDeviceName(int card, int pair, bool record);

  const std::vector<SimWaveDevice>& RecordDevices() const { return recordDevices_; }
  const std::vector<SimWaveDevice>& PlaybackDevices() const { return playbackDevices_; }
  // Handles open now, and every successful open so far (while the history
  // is kept: see SetKeepHistory).
  std::vector<SimWaveHandle> OpenHandles() const;
  std::vector<SimWaveHandle> OpenHistory() const;
  // Whether every open is kept for tests (default); a long-running program
  // opening and closing windows would otherwise make it grow without end.
  void SetKeepHistory(bool keep);
  std::optional<SimWaveHandle> FindHandle(WinHandle handle) const;

  // WaveApi
  std::uint32_t waveInGetNumDevs() override;
  std::uint32_t waveOutGetNumDevs() override;
  std::uint32_t waveInGetDevCapsA(std::uint32_t deviceId, WaveInCaps* caps,
                                  std::uint32_t size) override;
  std::uint32_t waveOutGetDevCapsA(std::uint32_t deviceId, WaveOutCaps* caps,
                                   std::uint32_t size) override;
  std::uint32_t waveInOpen(WinHandle* handle, std::uint32_t deviceId, const WaveFormatEx* format,
                           std::uintptr_t callback, std::uintptr_t instance,
                           std::uint32_t flags) override;
  std::uint32_t waveOutOpen(WinHandle* handle, std::uint32_t deviceId, const WaveFormatEx* format,
                            std::uintptr_t callback, std::uintptr_t instance,
                            std::uint32_t flags) override;
  std::uint32_t waveInClose(WinHandle handle) override;
  std::uint32_t waveOutClose(WinHandle handle) override;
  std::uint32_t waveInMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                              std::uintptr_t dw2) override;
  std::uint32_t waveOutMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                               std::uintptr_t dw2) override;

 private:
  void BuildDevices();
  std::uint32_t Open(bool record, WinHandle* handle, std::uint32_t deviceId,
                     const WaveFormatEx* format, std::uintptr_t callback, std::uintptr_t instance,
                     std::uint32_t flags);
  std::uint32_t Close(bool record, WinHandle handle);
  std::uint32_t Message(bool record, WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                        std::uintptr_t dw2);

  SimCards& cards_;
  CallLog& log_;
  std::vector<SimWaveDevice> recordDevices_;
  std::vector<SimWaveDevice> playbackDevices_;
  mutable std::mutex mutex_;
  std::vector<SimWaveHandle> open_;
  std::vector<SimWaveHandle> history_;
  bool keepHistory_ = true;
  WinHandle nextHandle_ = 0x7A00;
};

// True when format is the control format: PCM header with cbSize 4 followed
// by the characters "CTRL".
bool IsControlFormat(const WaveFormatEx* format);

}  // namespace zentra::sim
