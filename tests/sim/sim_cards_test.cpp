// The simulated cards as the driver contract describes them, with the call
// log as the oracle: device list, control opens, and the answer to every
// control message the windows send.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "driver/control_messages.h"
#include "driver/shared16_block.h"
#include "sim/sim_card_rig.h"

namespace zentra::sim {
namespace {

// A control-format record built here, independent of the program's own.
#pragma pack(push, 1)
struct FormatWithExtra {
  WaveFormatEx format;
  char extra[4];
};
#pragma pack(pop)

FormatWithExtra Format(const char* extra, std::uint16_t cbSize = 4) {
  FormatWithExtra f{{1, 2, 44100, 176400, 4, 16, cbSize}, {}};
  std::memcpy(f.extra, extra, 4);
  return f;
}

class SimCardsTest : public ::testing::Test {
 protected:
  explicit SimCardsTest(const std::string& scenario = "", int cards = 2) : rig(scenario, cards) {}

  WinHandle Open(int card, int pair, bool record) {
    const FormatWithExtra f = Format("CTRL");
    WinHandle h = 0;
    const auto id = static_cast<std::uint32_t>(rig.DeviceId(card, pair, record));
    const std::uint32_t r = record ? rig.wave.waveInOpen(&h, id, &f.format, 0, 0, 0)
                                   : rig.wave.waveOutOpen(&h, id, &f.format, 0, 0, 0);
    EXPECT_EQ(r, 0u);
    opened.push_back({h, record});
    return h;
  }
  std::uint32_t Send(WinHandle h, bool record, std::uint32_t message, std::uintptr_t dw1 = 0) {
    return record ? rig.wave.waveInMessage(h, message, dw1, 0)
                  : rig.wave.waveOutMessage(h, message, dw1, 0);
  }
  Shared16Block Block(std::uint32_t size) {
    Shared16Block b;
    EXPECT_NE(b.AllocateFixed(rig.arena, size, kWindowBlockFlags), nullptr);
    return b;
  }
  CallRecord Last() const { return rig.log.Records().back(); }

  void TearDown() override {
    for (const auto& [h, record] : opened) {
      if (rig.wave.FindHandle(h)) record ? rig.wave.waveInClose(h) : rig.wave.waveOutClose(h);
    }
    EXPECT_TRUE(rig.wave.OpenHandles().empty());
    EXPECT_EQ(rig.cards.MeteringHandleCount(), 0);
  }

  SimCardRig rig;
  std::vector<std::pair<WinHandle, bool>> opened;
};

TEST_F(SimCardsTest, EachCardListsTwelveDevicesAmongForeignOnes) {
  std::set<std::string> names;
  for (bool record : {true, false}) {
    const auto& list = record ? rig.wave.RecordDevices() : rig.wave.PlaybackDevices();
    ASSERT_EQ(list.size(), 14u);  // 2 x 6 + another maker's + product 12
    for (std::uint32_t id = 0; id < list.size(); ++id) {
      if (record) {
        WaveInCaps caps{};
        ASSERT_EQ(rig.wave.waveInGetDevCapsA(id, &caps, sizeof caps), 0u);
        names.insert(caps.szPname);
        if (list[id].card >= 0) {
          EXPECT_EQ(caps.wMid, 190);
          EXPECT_EQ(caps.wPid, list[id].pair == 0 ? 14 : list[id].pair == 1 ? 16 : 18);
          EXPECT_EQ(caps.vDriverVersion, 0x0401u);
        }
      } else {
        WaveOutCaps caps{};
        ASSERT_EQ(rig.wave.waveOutGetDevCapsA(id, &caps, sizeof caps), 0u);
        names.insert(caps.szPname);
        if (list[id].card >= 0) {
          EXPECT_EQ(caps.wMid, 190);
          EXPECT_EQ(caps.wPid, list[id].pair == 0 ? 13 : list[id].pair == 1 ? 15 : 17);
        }
      }
    }
  }
  for (const char* name : {"Zentra Analog In", "Zentra Digital Out", "Zentra Analog In II",
                           "Zentra Digital Out II", "Zentra ADAT In 1-2", "Zentra ADAT Out 7-8",
                           "Zentra ADAT In 9-10", "Zentra ADAT Out 15-16"}) {
    EXPECT_EQ(names.count(name), 1u) << name;
  }
  EXPECT_EQ(SimWave::DefaultDeviceName(3, 5, true), "Zentra ADAT In 31-32");
  EXPECT_EQ(SimWave::DefaultDeviceName(2, 1, false), "Zentra Digital Out III");
  WaveInCaps caps{};
  EXPECT_EQ(rig.wave.waveInGetDevCapsA(14, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
  // A short record receives only what fits.
  std::memset(&caps, 0x5A, sizeof caps);
  ASSERT_EQ(rig.wave.waveInGetDevCapsA(static_cast<std::uint32_t>(rig.DeviceId(0, 0, true)),
                                       &caps, 4), 0u);
  EXPECT_EQ(caps.wMid, 190);
  EXPECT_EQ(caps.vDriverVersion, 0x5A5A5A5Au);
}

TEST_F(SimCardsTest, OnlyControlOpensOnCardDevicesSucceed) {
  const auto analogIn = static_cast<std::uint32_t>(rig.DeviceId(0, 0, true));
  WinHandle h = 0;
  const FormatWithExtra plain = Format("CTRL", 0);
  const FormatWithExtra wrong = Format("CTRX");
  const FormatWithExtra control = Format("CTRL");
  EXPECT_EQ(rig.wave.waveInOpen(&h, analogIn, &plain.format, 0, 0, 0), kWaverrBadFormat);
  EXPECT_EQ(rig.wave.waveInOpen(&h, analogIn, &wrong.format, 0, 0, 0), kWaverrBadFormat);
  EXPECT_EQ(rig.wave.waveInOpen(&h, analogIn, nullptr, 0, 0, 0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(rig.wave.waveInOpen(&h, 0, &control.format, 0, 0, 0), kWaverrBadFormat);  // other maker
  EXPECT_EQ(rig.wave.waveInOpen(&h, 99, &control.format, 0, 0, 0), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(rig.wave.waveInOpen(&h, analogIn, &control.format, 0x1234, 0, 0x30000),
            MMSYSERR_INVALPARAM);
  EXPECT_EQ(h, 0u);
  EXPECT_TRUE(rig.wave.OpenHandles().empty());

  ASSERT_EQ(rig.wave.waveInOpen(&h, analogIn, &control.format, 0x1234, 7, CALLBACK_WINDOW), 0u);
  const CallRecord open = Last();
  EXPECT_EQ(open.kind, CallRecord::Kind::Open);
  EXPECT_EQ(open.handle, h);
  EXPECT_EQ(open.message, CALLBACK_WINDOW);
  EXPECT_EQ(open.dw1, 0x1234u);
  EXPECT_EQ(open.dw2, 7u);
  EXPECT_EQ(open.deviceSlot, 0);
  // A record handle is not a playback handle; a closed handle is gone.
  EXPECT_EQ(rig.wave.waveOutClose(h), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(rig.wave.waveOutMessage(h, CTL_OUT_METER_START, 0, 0), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(rig.wave.waveInClose(h), 0u);
  EXPECT_EQ(rig.wave.waveInClose(h), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(rig.wave.waveInMessage(h, CTL_IN_METER_START, 0, 0), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(rig.wave.OpenHistory().size(), 1u);
}

TEST_F(SimCardsTest, MeteringReportsMovingSignalsOnlyWhileStarted) {
  WinHandle in = Open(1, 0, true);
  Shared16Block peaks = Block(kMeterLevelBlockSize);
  rig.now = 1000;
  EXPECT_EQ(Send(in, true, CTL_IN_GET_PEAKS, peaks.Address()), 0u);
  EXPECT_EQ(peaks.Word32(0), 0u);
  EXPECT_EQ(peaks.Word32(4), 0u);

  EXPECT_EQ(Send(in, true, CTL_IN_METER_START), 0u);
  std::set<std::uint32_t> seen;
  for (int step = 0; step < 20; ++step) {
    rig.now = 1000 + 137u * static_cast<unsigned>(step);
    ASSERT_EQ(Send(in, true, CTL_IN_GET_PEAKS, peaks.Address()), 0u);
    const PeakPair expected = rig.cards.SignalOf({1, 0, true});
    EXPECT_EQ(peaks.Word32(0), expected.left);
    EXPECT_EQ(peaks.Word32(4), expected.right);
    EXPECT_LE(peaks.Word32(0), 32767u);
    EXPECT_LE(peaks.Word32(4), 32767u);
    seen.insert(peaks.Word32(0));
    const CallRecord r = Last();
    EXPECT_EQ(r.blockAfter.size(), 8u);
    EXPECT_EQ(r.deviceSlot, 6);
  }
  EXPECT_GT(seen.size(), 10u);  // the signal moves
  // Cards and channels differ at the same moment.
  EXPECT_NE(rig.cards.SignalOf({0, 0, true}).left, rig.cards.SignalOf({1, 0, true}).left);

  EXPECT_EQ(Send(in, true, CTL_IN_METER_STOP), 0u);
  EXPECT_EQ(Send(in, true, CTL_IN_GET_PEAKS, peaks.Address()), 0u);
  EXPECT_EQ(peaks.Word32(0), 0u);
}

TEST_F(SimCardsTest, OutputMeteringFollowsTheChosenSource) {
  WinHandle out = Open(0, 0, false);
  Shared16Block peaks = Block(kMeterLevelBlockSize);
  ASSERT_EQ(Send(out, false, CTL_OUT_METER_START), 0u);
  rig.now = 4321;

  // Analog input as source: the output shows the analog input.
  ASSERT_EQ(Send(out, false, CTL_SET_OUTPUT_SOURCE, 0x00010002), 0u);
  ASSERT_EQ(Send(out, false, CTL_OUT_GET_PEAKS, peaks.Address()), 0u);
  const PeakPair analogIn = rig.cards.SignalOf({0, 0, true});
  EXPECT_EQ(peaks.Word32(0), analogIn.left);
  EXPECT_EQ(peaks.Word32(4), analogIn.right);

  // ADAT input, left channel 4 and right channel 5: ADAT pair 5-6.
  ASSERT_EQ(Send(out, false, CTL_SET_OUTPUT_SOURCE, 0x00050404), 0u);
  ASSERT_EQ(Send(out, false, CTL_OUT_GET_PEAKS, peaks.Address()), 0u);
  const PeakPair adat56 = rig.cards.SignalOf({0, 4, true});
  EXPECT_EQ(peaks.Word32(0), adat56.left);
  EXPECT_EQ(peaks.Word32(4), adat56.right);

  // The digital output playing the analog output shows what that plays.
  WinHandle digital = Open(0, 1, false);
  ASSERT_EQ(Send(digital, false, CTL_OUT_METER_START), 0u);
  ASSERT_EQ(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 1), 0u);
  ASSERT_EQ(Send(digital, false, CTL_OUT_GET_PEAKS, peaks.Address()), 0u);
  EXPECT_EQ(peaks.Word32(0), adat56.left);

  // Closing a handle ends its metering.
  rig.wave.waveOutClose(out);
  rig.wave.waveOutClose(digital);
  EXPECT_FALSE(rig.cards.IsMetering({0, 0, false}));
}

TEST_F(SimCardsTest, InputStateRoundTripsThroughTheBlock) {
  WinHandle in = Open(1, 1, true);
  Shared16Block state = Block(kInputStateBlockSize);
  ASSERT_EQ(Send(in, true, CTL_GET_INPUT_STATE, state.Address()), 0u);
  EXPECT_EQ(state.Word32(0), 0x00000101u);  // optical, analog output, never
  const CallRecord get = Last();
  EXPECT_EQ(get.blockBefore, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(get.blockAfter, (std::vector<std::uint8_t>{1, 1, 0, 0}));

  ASSERT_EQ(Send(in, true, CTL_SET_INPUT_STATE, 0x00020202), 0u);
  EXPECT_EQ(rig.cards.InputState(1, 1), (std::array<std::uint8_t, 4>{2, 2, 2, 0}));
  EXPECT_EQ(rig.cards.InputState(1, 0), (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
  ASSERT_EQ(Send(in, true, CTL_GET_INPUT_STATE, state.Address()), 0u);
  EXPECT_EQ(state.Word32(0), 0x00020202u);
}

TEST_F(SimCardsTest, MessagesOnTheWrongDeviceOrUnknownAreNotSupported) {
  WinHandle adatIn = Open(0, 2, true);
  WinHandle digitalOut = Open(0, 1, false);
  Shared16Block block = Block(16);
  EXPECT_EQ(Send(adatIn, true, CTL_GET_INPUT_STATE, block.Address()), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Send(adatIn, true, CTL_GET_INPUT_RATE, block.Address()), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Send(digitalOut, false, CTL_GET_MUTE, block.Address()), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Send(digitalOut, false, CTL_GET_DEVNODE, block.Address()), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Send(digitalOut, false, CTL_IN_METER_START), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Send(digitalOut, false, 0x4003), MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(Last().message, 0x4003u);
  EXPECT_EQ(Last().result, MMSYSERR_NOTSUPPORTED);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block.Byte(static_cast<std::uint32_t>(i)), 0) << i;
}

TEST_F(SimCardsTest, BadBlockAddressesFailWithoutWriting) {
  WinHandle out = Open(0, 0, false);
  Shared16Block small = Block(2);
  EXPECT_EQ(Send(out, false, CTL_GET_DEVNODE, small.Address()), MMSYSERR_INVALPARAM);
  EXPECT_EQ(small.Word16(0), 0u);
  EXPECT_EQ(Send(out, false, CTL_GET_DEVNODE, 0), MMSYSERR_INVALPARAM);
  Shared16Block gone = Block(4);
  const std::uint32_t freed = gone.Address();
  gone.Release();
  EXPECT_EQ(Send(out, false, WODM_GETVOLUME, freed), MMSYSERR_INVALPARAM);
  EXPECT_TRUE(Last().blockAfter.empty());
}

TEST_F(SimCardsTest, VolumesMutesFormatAndDevnode) {
  WinHandle analog = Open(1, 0, false);
  WinHandle digital = Open(1, 1, false);
  Shared16Block word = Block(4);
  ASSERT_EQ(Send(analog, false, WODM_SETVOLUME, 0x8000FFFF), 0u);
  ASSERT_EQ(Send(analog, false, WODM_GETVOLUME, word.Address()), 0u);
  EXPECT_EQ(word.Word32(0), 0x8000FFFFu);
  EXPECT_EQ(rig.cards.Volume(0, 0), 0xC000C000u);  // the other card is untouched

  // The mute words of card 1 lie at offset 4 of the 16-byte block.
  Shared16Block mutes = Block(kMuteBlockSize);
  ASSERT_EQ(Send(analog, false, CTL_SET_MUTE, 0x0000FFFF), 0u);
  ASSERT_EQ(Send(analog, false, CTL_GET_MUTE, mutes.Address() + 4), 0u);
  EXPECT_EQ(mutes.Word16(4), 0xFFFFu);
  EXPECT_EQ(mutes.Word16(6), 0u);
  EXPECT_EQ(mutes.Word32(0), 0u);
  EXPECT_EQ(mutes.Word32(8), 0u);

  ASSERT_EQ(Send(digital, false, CTL_GET_CHANNEL_STATUS, word.Address()), 0u);
  EXPECT_EQ(word.Word32(0), 0x20u);
  ASSERT_EQ(Send(digital, false, CTL_SET_CHANNEL_STATUS, 0x88), 0u);
  EXPECT_EQ(rig.cards.ChannelStatus(1), 0x88u);

  ASSERT_EQ(Send(analog, false, CTL_GET_DEVNODE, word.Address()), 0u);
  EXPECT_EQ(word.Word32(0), 0x1002u);
}

TEST_F(SimCardsTest, InputRateIsMeasuredOnTheDigitalInput) {
  WinHandle in = Open(0, 1, true);
  Shared16Block rate = Block(kRateBlockSize);
  ASSERT_EQ(Send(in, true, CTL_GET_INPUT_RATE, rate.Address()), 0u);
  EXPECT_EQ(rate.Word32(0), 44100u);
  rig.cards.SetInputRate(0, 0);
  ASSERT_EQ(Send(in, true, CTL_GET_INPUT_RATE, rate.Address()), 0u);
  EXPECT_EQ(rate.Word32(0), 0u);
  // Without lock the digital input is silent.
  ASSERT_EQ(Send(in, true, CTL_IN_METER_START), 0u);
  EXPECT_EQ(rig.cards.SignalOf({0, 1, true}).left, 0u);
  Send(in, true, CTL_IN_METER_STOP);
}

class SourceRulesTest : public SimCardsTest {
 protected:
  SourceRulesTest()
      : SimCardsTest("[Card1]\nOtherAppPlaying=1\n[Card2]\nAdatInUse=1\n", 2) {}
};

TEST_F(SourceRulesTest, BusyCountAndAdatRefusalWhileAnotherProgramPlays) {
  WinHandle out = Open(0, 0, false);
  Shared16Block source = Block(kOutputSourceBlockSize);
  ASSERT_EQ(Send(out, false, CTL_GET_OUTPUT_SOURCE, source.Address()), 0u);
  EXPECT_EQ(source.Word32(0), 0x01010000u);  // program, channels 0 and 1, busy 1

  EXPECT_NE(Send(out, false, CTL_SET_OUTPUT_SOURCE, 0x00010004), 0u);
  EXPECT_EQ(rig.cards.OutputSource(0, 0)[0], 0);

  // The analog input metered on two handles counts twice.
  WinHandle m1 = Open(0, 0, true);
  WinHandle m2 = Open(0, 0, true);
  Send(m1, true, CTL_IN_METER_START);
  Send(m2, true, CTL_IN_METER_START);
  EXPECT_EQ(rig.cards.OutputSource(0, 0)[3], 3);
  rig.wave.waveInClose(m1);
  rig.wave.waveInClose(m2);
  EXPECT_EQ(rig.cards.OutputSource(0, 0)[3], 1);

  // Once the other program stops, ADAT monitoring is accepted, and changing
  // its channels later is accepted even while the program plays again.
  rig.cards.SetOtherAppPlaying(0, 0);
  EXPECT_EQ(Send(out, false, CTL_SET_OUTPUT_SOURCE, 0x00010004), 0u);
  rig.cards.SetOtherAppPlaying(0, 1);
  EXPECT_EQ(Send(out, false, CTL_SET_OUTPUT_SOURCE, 0x00030204), 0u);
  EXPECT_EQ(rig.cards.OutputSource(0, 0), (std::array<std::uint8_t, 4>{4, 2, 3, 1}));
}

TEST_F(SourceRulesTest, AdatAndDigitalOperationExcludeEachOther) {
  // Card 1: digital monitoring on the digital output blocks ADAT monitoring.
  rig.cards.SetOtherAppPlaying(0, 0);
  WinHandle analog = Open(0, 0, false);
  WinHandle digital = Open(0, 1, false);
  ASSERT_EQ(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 3), 0u);
  EXPECT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 4), SimCards::kRefusedConflict);
  ASSERT_EQ(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 0), 0u);
  ASSERT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 4), 0u);
  EXPECT_NE(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 3), 0u);
  // The two outputs may not play each other.
  ASSERT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 1), 0u);
  EXPECT_NE(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 1), 0u);
  // Values outside the codes are refused.
  EXPECT_EQ(Send(digital, false, CTL_SET_OUTPUT_SOURCE, 4), MMSYSERR_INVALPARAM);
  EXPECT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 0x00000800), MMSYSERR_INVALPARAM);

  // Card 2: ADAT in use elsewhere refuses the digital monitoring sources.
  WinHandle analog2 = Open(1, 0, false);
  EXPECT_NE(Send(analog2, false, CTL_SET_OUTPUT_SOURCE, 3), 0u);
  EXPECT_NE(Send(analog2, false, CTL_SET_OUTPUT_SOURCE, 1), 0u);
  EXPECT_EQ(Send(analog2, false, CTL_SET_OUTPUT_SOURCE, 2), 0u);
  EXPECT_EQ(rig.cards.OutputSource(1, 0)[0], 2);
}

class SourceStepsTest : public SimCardsTest {
 protected:
  SourceStepsTest()
      : SimCardsTest("[Card1]\nAnalogOutputSource=0,2,3\n"
                     "AnalogOutputSourceSteps=3000:0, 1000:2\nDigitalOutputSourceSteps=2000:3\n",
                     2) {}
  std::uint32_t SourceWord(WinHandle handle) {
    Shared16Block block = Block(kOutputSourceBlockSize);
    EXPECT_EQ(Send(handle, false, CTL_GET_OUTPUT_SOURCE, block.Address()), 0u);
    return block.Word32(0);
  }
};

TEST_F(SourceStepsTest, AnotherProgramChangesTheReportedSourceAtItsTimes) {
  WinHandle analog = Open(0, 0, false);
  WinHandle digital = Open(0, 1, false);
  rig.now = 999;
  EXPECT_EQ(SourceWord(analog), 0x00030200u) << "program, ADAT channels 2 and 3";
  rig.now = 1000;
  EXPECT_EQ(SourceWord(analog), 0x00030202u) << "analog input; the channels stay";
  EXPECT_EQ(SourceWord(digital), 0x00000000u);
  EXPECT_EQ(rig.cards.OutputSource(0, 0), (std::array<std::uint8_t, 4>{2, 2, 3, 0}));
  // The meters follow the changed source.
  ASSERT_EQ(Send(analog, false, CTL_OUT_METER_START), 0u);
  rig.now = 1234;
  EXPECT_EQ(rig.cards.SignalOf({0, 0, false}).left, rig.cards.SignalOf({0, 0, true}).left);
  EXPECT_EQ(rig.cards.SignalOf({0, 0, false}).right, rig.cards.SignalOf({0, 0, true}).right);

  // The program's own change after a step holds until the next step.
  rig.now = 1500;
  ASSERT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 0x00050404), 0u);
  rig.now = 2000;
  EXPECT_EQ(SourceWord(analog), 0x00050404u);
  EXPECT_EQ(SourceWord(digital), 0x00000003u) << "digital input from 2000 ms on";
  rig.now = 3000;
  EXPECT_EQ(SourceWord(analog), 0x00050400u);
  // The rules of the program's changes see the changed sources: the digital
  // output now plays the digital input, so ADAT monitoring is refused.
  EXPECT_EQ(Send(analog, false, CTL_SET_OUTPUT_SOURCE, 0x00050404), SimCards::kRefusedConflict);
  EXPECT_EQ(SourceWord(analog), 0x00050400u);
  rig.now = 100000;
  EXPECT_EQ(SourceWord(digital), 0x00000003u) << "the last step stays in force";
  rig.wave.waveOutClose(analog);
}

TEST_F(SourceStepsTest, AChangeByAnotherProgramAtRunTimeAlsoOverridesDueSteps) {
  rig.now = 2500;
  rig.cards.SetOutputSourceByOtherProgram(0, 1, 2);
  EXPECT_EQ(rig.cards.OutputSource(0, 1)[0], 2);
  rig.now = 3500;
  EXPECT_EQ(rig.cards.OutputSource(0, 0)[0], 0);
  EXPECT_EQ(rig.cards.OutputSource(0, 1)[0], 2);
}

class MeterRefusalTest : public SimCardsTest {
 protected:
  MeterRefusalTest() : SimCardsTest("[Card2]\nRefuseMeterStart=DigitalIn\nRefusePeaks=AnalogIn\n", 2) {}
};

TEST_F(MeterRefusalTest, RefusedMeterStartStartsNothing) {
  WinHandle in = Open(1, 1, true);
  EXPECT_NE(Send(in, true, CTL_IN_METER_START), 0u);
  EXPECT_FALSE(rig.cards.IsMetering({1, 1, true}));
  WinHandle other = Open(0, 1, true);
  EXPECT_EQ(Send(other, true, CTL_IN_METER_START), 0u);
  Send(other, true, CTL_IN_METER_STOP);
}

TEST_F(MeterRefusalTest, RefusedLevelRequestLeavesTheBlockAsItWas) {
  WinHandle in = Open(1, 0, true);
  Shared16Block block = Block(kMeterLevelBlockSize);
  block.SetWord32(0, 0xA5A5A5A5u);
  EXPECT_EQ(Send(in, true, CTL_IN_METER_START), 0u);
  EXPECT_NE(Send(in, true, CTL_IN_GET_PEAKS, block.Address()), 0u);
  EXPECT_EQ(block.Word32(0), 0xA5A5A5A5u);
  // The first card's analog input still answers.
  WinHandle first = Open(0, 0, true);
  EXPECT_EQ(Send(first, true, CTL_IN_GET_PEAKS, block.Address()), 0u);
  Send(in, true, CTL_IN_METER_STOP);
}

TEST(TestSignalTest, StaysInRangeAndRepeats) {
  for (std::uint32_t key = 0; key < 300; key += 7) {
    for (std::uint64_t t = 0; t < 20000; t += 97) {
      const std::uint32_t v = TestSignal(key, t);
      ASSERT_LE(v, 32767u);
      ASSERT_EQ(v, TestSignal(key, t));
    }
  }
}

}  // namespace
}  // namespace zentra::sim

namespace zentra::sim {
namespace {

class MessageRefusalTest : public SimCardsTest {
 protected:
  MessageRefusalTest()
      : SimCardsTest("[Card2]\nRefuseMessages=DigitalIn:0x4034,DigitalOut:0x400D\nRefuseClose=AnalogOut\n", 2) {}
};

TEST_F(MessageRefusalTest, ARefusedMessageAnswersAnErrorAndLeavesItsBlockAsItWas) {
  Shared16Block block = Block(4);
  block.SetWord32(0, 0xA5A5A5A5u);
  WinHandle digitalIn = Open(1, 1, true);
  EXPECT_EQ(Send(digitalIn, true, CTL_GET_INPUT_STATE, block.Address()), MMSYSERR_ERROR);
  EXPECT_EQ(block.Word32(0), 0xA5A5A5A5u);
  EXPECT_EQ(Last().result, MMSYSERR_ERROR);
  // Other messages of the device, the same message elsewhere: answered.
  EXPECT_EQ(Send(digitalIn, true, CTL_SET_INPUT_STATE, 0x00000101), 0u);
  WinHandle analogIn = Open(1, 0, true);
  EXPECT_EQ(Send(analogIn, true, CTL_GET_INPUT_STATE, block.Address()), 0u);
  WinHandle firstCard = Open(0, 1, true);
  EXPECT_EQ(Send(firstCard, true, CTL_GET_INPUT_STATE, block.Address()), 0u);
  block.SetWord32(0, 0x5A5A5A5Au);
  WinHandle digitalOut = Open(1, 1, false);
  EXPECT_EQ(Send(digitalOut, false, CTL_GET_CHANNEL_STATUS, block.Address()), MMSYSERR_ERROR);
  EXPECT_EQ(block.Word32(0), 0x5A5A5A5Au);
  EXPECT_EQ(Send(digitalOut, false, CTL_SET_CHANNEL_STATUS, 0x80), 0u);
}

TEST(MessageRefusal, ARefusedCloseKeepsTheHandleOpenOnlyOnThatDevice) {
  SimCardRig rig("[Card2]\nRefuseClose=AnalogOut\n", 2);
  const FormatWithExtra f = Format("CTRL");
  auto open = [&](int card, int pair, bool record) {
    WinHandle h = 0;
    const auto id = static_cast<std::uint32_t>(rig.DeviceId(card, pair, record));
    EXPECT_EQ(record ? rig.wave.waveInOpen(&h, id, &f.format, 0, 0, 0)
                     : rig.wave.waveOutOpen(&h, id, &f.format, 0, 0, 0),
              0u);
    return h;
  };
  WinHandle analogOut = open(1, 0, false);
  EXPECT_EQ(rig.wave.waveOutClose(analogOut), MMSYSERR_ERROR);
  EXPECT_EQ(rig.log.Records().back().result, MMSYSERR_ERROR);
  EXPECT_EQ(rig.log.Records().back().deviceSlot, 6);
  EXPECT_TRUE(rig.wave.FindHandle(analogOut).has_value());
  // It still answers, and the other devices close.
  EXPECT_EQ(rig.wave.waveOutMessage(analogOut, CTL_OUT_METER_START, 0, 0), 0u);
  EXPECT_EQ(rig.wave.waveInClose(open(1, 0, true)), 0u);
  EXPECT_EQ(rig.wave.waveOutClose(open(0, 0, false)), 0u);
  EXPECT_EQ(rig.wave.waveOutClose(open(1, 1, false)), 0u);
  EXPECT_EQ(rig.wave.OpenHandles().size(), 1u);
}

}  // namespace
}  // namespace zentra::sim
