#include "sim/sim_wave.h"

#include <algorithm>
#include <cstring>

namespace zentra::sim {

namespace {

constexpr std::uint16_t kCardMaker = 190;
constexpr std::uint32_t kCardDriverVersion = 0x0401;
constexpr std::uint16_t kRecordProducts[3] = {14, 16, 18};
constexpr std::uint16_t kPlaybackProducts[3] = {13, 15, 17};
constexpr std::uint32_t kCardFormats = 0x0FFF;  // the 11/22/44 kHz formats

std::uint16_t ProductOf(int pair, bool record) {
  const int kind = pair < 2 ? pair : 2;
  return record ? kRecordProducts[kind] : kPlaybackProducts[kind];
}

template <typename Caps>
void FillCaps(const SimWaveDevice& device, Caps& caps) {
  caps.wMid = device.manufacturer;
  caps.wPid = device.product;
  caps.vDriverVersion = device.card >= 0 ? kCardDriverVersion : 0x0100;
  std::memset(caps.szPname, 0, sizeof caps.szPname);
  std::memcpy(caps.szPname, device.name.data(),
              std::min(device.name.size(), sizeof caps.szPname - 1));
  caps.dwFormats = kCardFormats;
  caps.wChannels = 2;
  caps.wReserved1 = 0;
}

}  // namespace

bool IsControlFormat(const WaveFormatEx* format) {
  if (format == nullptr || format->wFormatTag != 1 || format->cbSize != 4) return false;
  const char* extra = reinterpret_cast<const char*>(format) + sizeof(WaveFormatEx);
  return std::memcmp(extra, "CTRL", 4) == 0;
}

SimWave::SimWave(SimCards& cards, CallLog& log) : cards_(cards), log_(log) { BuildDevices(); }

std::string SimWave::DefaultDeviceName(int card, int pair, bool record) {
  static const char* const kSuffixes[] = {"", " II", " III", " IV"};
  const std::string direction = record ? "In" : "Out";
  if (pair == 0) return "Zentra Analog " + direction + kSuffixes[card];
  if (pair == 1) return "Zentra Digital " + direction + kSuffixes[card];
  const int first = card * 8 + (pair - 2) * 2 + 1;
  return "Zentra ADAT " + direction + " " + std::to_string(first) + "-" +
         std::to_string(first + 1);
}

void SimWave::BuildDevices() {
  const bool foreign = cards_.Scenario().foreignDevices;
  for (bool record : {true, false}) {
    auto& list = record ? recordDevices_ : playbackDevices_;
    // Another maker's device first, with a product id a card device also has.
    if (foreign) list.push_back({1, ProductOf(0, record), record ? "Onboard Wave In" : "Onboard Wave Out"});
    for (int card = 0; card < cards_.CardCount(); ++card) {
      const CardSetup& setup = cards_.Setup(card);
      for (int pair = 0; pair < kSimPairsPerCard; ++pair) {
        if (setup.missing.Has(record, pair)) continue;
        const auto& overrideName = record ? setup.recordNames[pair] : setup.playbackNames[pair];
        list.push_back({kCardMaker, ProductOf(pair, record),
                        overrideName ? *overrideName : DefaultDeviceName(card, pair, record), card,
                        pair});
      }
      // A device of the card's maker that is no card device (product 12).
      if (foreign && card == 0) {
        list.push_back({kCardMaker, 12, record ? "Zentra Sync In" : "Zentra Sync Out"});
      }
    }
  }
}

std::vector<SimWaveHandle> SimWave::OpenHandles() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

std::vector<SimWaveHandle> SimWave::OpenHistory() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return history_;
}

void SimWave::SetKeepHistory(bool keep) {
  std::lock_guard<std::mutex> lock(mutex_);
  keepHistory_ = keep;
  if (!keepHistory_) std::vector<SimWaveHandle>().swap(history_);
}

std::optional<SimWaveHandle> SimWave::FindHandle(WinHandle handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& entry : open_) {
    if (entry.handle == handle) return entry;
  }
  return std::nullopt;
}

std::uint32_t SimWave::waveInGetNumDevs() { return static_cast<std::uint32_t>(recordDevices_.size()); }
std::uint32_t SimWave::waveOutGetNumDevs() { return static_cast<std::uint32_t>(playbackDevices_.size()); }

std::uint32_t SimWave::waveInGetDevCapsA(std::uint32_t deviceId, WaveInCaps* caps,
                                         std::uint32_t size) {
  if (deviceId >= recordDevices_.size()) return MMSYSERR_BADDEVICEID;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  WaveInCaps full{};
  FillCaps(recordDevices_[deviceId], full);
  std::memcpy(caps, &full, std::min<std::size_t>(size, sizeof full));
  return MMSYSERR_NOERROR;
}

std::uint32_t SimWave::waveOutGetDevCapsA(std::uint32_t deviceId, WaveOutCaps* caps,
                                          std::uint32_t size) {
  if (deviceId >= playbackDevices_.size()) return MMSYSERR_BADDEVICEID;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  WaveOutCaps full{};
  FillCaps(playbackDevices_[deviceId], full);
  full.dwSupport = 0x000C;  // volume, left and right
  std::memcpy(caps, &full, std::min<std::size_t>(size, sizeof full));
  return MMSYSERR_NOERROR;
}

std::uint32_t SimWave::Open(bool record, WinHandle* handle, std::uint32_t deviceId,
                            const WaveFormatEx* format, std::uintptr_t callback,
                            std::uintptr_t instance, std::uint32_t flags) {
  const auto& list = record ? recordDevices_ : playbackDevices_;
  CallRecord entry;
  entry.kind = CallRecord::Kind::Open;
  entry.waveIn = record;
  entry.message = flags;
  entry.dw1 = callback;
  entry.dw2 = instance;

  std::uint32_t result = MMSYSERR_NOERROR;
  const SimWaveDevice* device = deviceId < list.size() ? &list[deviceId] : nullptr;
  if (device != nullptr && device->card >= 0) entry.deviceSlot = device->card * kSimPairsPerCard + device->pair;

  if (handle == nullptr || format == nullptr) {
    result = MMSYSERR_INVALPARAM;
  } else if (device == nullptr) {
    result = MMSYSERR_BADDEVICEID;
  } else if (flags != CALLBACK_NULL && flags != CALLBACK_WINDOW) {
    result = MMSYSERR_INVALPARAM;
  } else if (device->card < 0 || !IsControlFormat(format)) {
    // Other makers' drivers and audio opens are not simulated.
    result = kWaverrBadFormat;
  } else if (cards_.RefusesOpen({device->card, device->pair, record})) {
    result = kMmsyserrAllocated;
  }

  if (result == MMSYSERR_NOERROR) {
    std::lock_guard<std::mutex> lock(mutex_);
    SimWaveHandle opened{nextHandle_++, record, deviceId, entry.deviceSlot, callback, instance, flags};
    open_.push_back(opened);
    if (keepHistory_) history_.push_back(opened);
    *handle = opened.handle;
    entry.handle = opened.handle;
  }
  entry.result = result;
  log_.Add(std::move(entry));
  return result;
}

std::uint32_t SimWave::Close(bool record, WinHandle handle) {
  CallRecord entry;
  entry.kind = CallRecord::Kind::Close;
  entry.waveIn = record;
  entry.handle = handle;
  std::uint32_t result = MMSYSERR_INVALHANDLE;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = std::find_if(open_.begin(), open_.end(), [&](const SimWaveHandle& h) {
      return h.handle == handle && h.record == record;
    });
    if (it != open_.end()) {
      entry.deviceSlot = it->slot;
      const SimDevice device{it->slot / kSimPairsPerCard, it->slot % kSimPairsPerCard, record};
      if (it->slot >= 0 && cards_.RefusesClose(device)) {
        result = MMSYSERR_ERROR;  // the driver keeps the handle open
      } else {
        open_.erase(it);
        result = MMSYSERR_NOERROR;
      }
    }
  }
  if (result == MMSYSERR_NOERROR) cards_.HandleClosed(handle);
  entry.result = result;
  log_.Add(std::move(entry));
  return result;
}

std::uint32_t SimWave::Message(bool record, WinHandle handle, std::uint32_t message,
                               std::uintptr_t dw1, std::uintptr_t dw2) {
  CallRecord entry;
  entry.kind = record ? CallRecord::Kind::WaveInMessage : CallRecord::Kind::WaveOutMessage;
  entry.handle = handle;
  entry.message = message;
  entry.dw1 = dw1;
  entry.dw2 = dw2;
  std::optional<SimWaveHandle> open = FindHandle(handle);
  if (!open || open->record != record) {
    entry.result = MMSYSERR_INVALHANDLE;
  } else {
    entry.deviceSlot = open->slot;
    const SimDevice device{open->slot / kSimPairsPerCard, open->slot % kSimPairsPerCard, record};
    entry.result = cards_.HandleMessage(handle, device, message, dw1, dw2, entry);
  }
  const std::uint32_t result = entry.result;
  log_.Add(std::move(entry));
  return result;
}

std::uint32_t SimWave::waveInOpen(WinHandle* handle, std::uint32_t deviceId,
                                  const WaveFormatEx* format, std::uintptr_t callback,
                                  std::uintptr_t instance, std::uint32_t flags) {
  return Open(true, handle, deviceId, format, callback, instance, flags);
}

std::uint32_t SimWave::waveOutOpen(WinHandle* handle, std::uint32_t deviceId,
                                   const WaveFormatEx* format, std::uintptr_t callback,
                                   std::uintptr_t instance, std::uint32_t flags) {
  return Open(false, handle, deviceId, format, callback, instance, flags);
}

std::uint32_t SimWave::waveInClose(WinHandle handle) { return Close(true, handle); }
std::uint32_t SimWave::waveOutClose(WinHandle handle) { return Close(false, handle); }

std::uint32_t SimWave::waveInMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                                     std::uintptr_t dw2) {
  return Message(true, handle, message, dw1, dw2);
}

std::uint32_t SimWave::waveOutMessage(WinHandle handle, std::uint32_t message, std::uintptr_t dw1,
                                      std::uintptr_t dw2) {
  return Message(false, handle, message, dw1, dw2);
}

}  // namespace zentra::sim
