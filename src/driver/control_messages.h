// The control messages the card's driver answers on a control handle, and
// the layouts of the blocks they carry. dw2 is 0 for every message.
#pragma once

#include <cstdint>

namespace zentra {

// Standard volume messages of a wave output device.
constexpr std::uint32_t WODM_GETVOLUME = 0x0010;  // dw1: address of a VolumeBlock
constexpr std::uint32_t WODM_SETVOLUME = 0x0011;  // dw1: volume, low word left, high word right

// The driver's private messages (DRV_USER + n).
constexpr std::uint32_t CTL_GET_MUTE = 0x4001;            // play, analog; dw1: address of the pair's two mute words
constexpr std::uint32_t CTL_SET_MUTE = 0x4002;            // play, analog; dw1: mutes, low word left
constexpr std::uint32_t CTL_OUT_METER_START = 0x4007;     // play; dw1: 0
constexpr std::uint32_t CTL_OUT_METER_STOP = 0x4008;      // play; dw1: 0
constexpr std::uint32_t CTL_OUT_GET_PEAKS = 0x4009;       // play; dw1: address of a MeterLevelBlock
constexpr std::uint32_t CTL_GET_OUTPUT_SOURCE = 0x400A;   // play, analog/digital; dw1: address of an OutputSourceBlock
constexpr std::uint32_t CTL_SET_OUTPUT_SOURCE = 0x400B;   // play, analog/digital; dw1: the block's bytes; non-zero = refused
constexpr std::uint32_t CTL_GET_CHANNEL_STATUS = 0x400D;  // play, digital; dw1: address of a ChannelStatusBlock
constexpr std::uint32_t CTL_SET_CHANNEL_STATUS = 0x400E;  // play, digital; dw1: format word
constexpr std::uint32_t CTL_GET_DEVNODE = 0x4011;         // play, analog; dw1: address of a DevnodeBlock
constexpr std::uint32_t CTL_GET_INPUT_STATE = 0x4034;     // rec, analog/digital; dw1: address of an InputStateBlock
constexpr std::uint32_t CTL_SET_INPUT_STATE = 0x4035;     // rec, analog/digital; dw1: the block's bytes
constexpr std::uint32_t CTL_IN_METER_START = 0x4038;      // rec; dw1: 0
constexpr std::uint32_t CTL_IN_METER_STOP = 0x4039;       // rec; dw1: 0
constexpr std::uint32_t CTL_IN_GET_PEAKS = 0x403A;        // rec; dw1: address of a MeterLevelBlock
constexpr std::uint32_t CTL_GET_INPUT_RATE = 0x403F;      // rec, digital; dw1: address of a RateBlock

// Block sizes in bytes.
constexpr std::uint32_t kMeterLevelBlockSize = 8;     // left peak, right peak (32-bit each)
constexpr std::uint32_t kInputStateBlockSize = 4;     // select, monitor destination, activity, spare
constexpr std::uint32_t kOutputSourceBlockSize = 4;   // source, ADAT left, ADAT right, busy count
constexpr std::uint32_t kChannelStatusBlockSize = 4;  // format word
constexpr std::uint32_t kRateBlockSize = 4;           // Hz, 0 = no lock
constexpr std::uint32_t kVolumeBlockSize = 4;         // low word left, high word right
constexpr std::uint32_t kMuteBlockSize = 16;          // two 16-bit flags per card, card-major
constexpr std::uint32_t kDevnodeBlockSize = 4;

// Full scale of a peak value.
constexpr std::uint32_t kPeakFullScale = 32767;

// Bytes of an OutputSourceBlock.
constexpr std::uint32_t kSourceByte = 0;
constexpr std::uint32_t kLeftChannelByte = 1;   // ADAT channel of the left side
constexpr std::uint32_t kRightChannelByte = 2;  // ADAT channel of the right side
constexpr std::uint32_t kBusyCountByte = 3;

// Output source codes (byte kSourceByte of an OutputSourceBlock; also the Tag
// of the output windows' source buttons).
constexpr std::uint8_t kSourceProgram = 0;
constexpr std::uint8_t kSourceOtherOutput = 1;  // analog output: the digital output, and vice versa
constexpr std::uint8_t kSourceAnalogInput = 2;
constexpr std::uint8_t kSourceDigitalInput = 3;
constexpr std::uint8_t kSourceAdatInput = 4;  // analog output only

// Channel status format word bits.
constexpr std::uint32_t kStatusProfessional = 0x80;  // AES/EBU
constexpr std::uint32_t kStatusConsumer = 0x20;      // S/PDIF
constexpr std::uint32_t kStatusAudio = 0x08;         // audio flag of the professional format

// Mute flag values.
constexpr std::uint16_t kMuted = 0xFFFF;
constexpr std::uint16_t kNotMuted = 0;

// Four block bytes as the 32-bit value that carries them by value, byte 0 in
// the low-order bits, and back.
inline std::uint32_t PackBlockBytes(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}
inline void UnpackBlockBytes(std::uint32_t value, std::uint8_t* bytes) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace zentra
