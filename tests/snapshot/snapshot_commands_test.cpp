// The control window's snapshot items as the user meets them: the menu and
// the dialogs, bad files, more or fewer cards than present, refused
// changes, failed reads and writes, and the open windows showing the
// loaded state.
#include <gtest/gtest.h>

#include "controls/slider.h"
#include "mixer/digital_output_window.h"
#include "mixer/volume_mapping.h"
#include "snapshot/snapshot_driver.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_rig.h"
#include "toolkit/application.h"

namespace zentra {
namespace {

using namespace testing;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(SnapshotCommands, TheSystemMenuOffersSaveAndLoadAndTheDialogsOfferTheProgramFolder) {
  SnapshotRig m(2);
  const std::vector<MenuItem> items = m.rig.user().SystemMenuItems(m.control->Handle());
  ASSERT_EQ(items.size(), HostUserApi::kStandardSystemMenuItems + 3);
  const std::size_t first = HostUserApi::kStandardSystemMenuItems;
  EXPECT_EQ(items[first].flags & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(items[first + 1].text, " Mischpult speichern...");
  EXPECT_EQ(items[first + 1].id, kSaveSnapshotCommand);
  EXPECT_EQ(items[first + 2].text, " Mischpult laden...");
  EXPECT_EQ(items[first + 2].id, kLoadSnapshotCommand);
  EXPECT_STREQ(kSaveSnapshotItem.captionEnglish, " Save mixer...");

  // Showing again adds nothing; cancelled dialogs do nothing at all.
  m.control->Hide();
  m.control->Show();
  EXPECT_EQ(m.rig.user().SystemMenuItems(m.control->Handle()).size(), items.size());
  m.ClearLog();
  m.Save(std::nullopt);
  m.Load(std::nullopt);
  EXPECT_TRUE(m.rig.driver().callLog().Records().empty());
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_TRUE(std::filesystem::is_empty(m.Folder()));

  const std::vector<HostDialogApi::DialogCall> calls = m.rig.dialogs().Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_TRUE(calls[0].save);
  EXPECT_FALSE(calls[1].save);
  for (const auto& call : calls) {
    EXPECT_EQ(call.record.owner, m.control->Handle());
    EXPECT_EQ(call.record.filterDescription, "Zentra Mischpult (*.zmx)");
    EXPECT_EQ(call.record.filterPattern, "*.zmx");
    EXPECT_EQ(call.record.initialDirectory, m.Folder().string());
    EXPECT_EQ(call.record.defaultExtension, "zmx");
  }
  EXPECT_EQ(calls[0].record.fileName, "Mischpult.zmx");

  // The program ending while a dialog is up (a card removed) ends the
  // command too: nothing read, sent, written or shown.
  const std::string saved = (m.Folder() / "saved.zmx").string();
  const std::string other = (m.Folder() / "other.zmx").string();
  m.Save(saved);
  ASSERT_TRUE(std::filesystem::exists(saved));
  m.ClearLog();
  m.rig.dialogs().SetWhileUp([] { Application::Instance().Terminate(); });
  m.Load(saved);
  m.Save(other);
  m.rig.dialogs().SetWhileUp(nullptr);
  Application::Instance().ResetTerminated();
  EXPECT_TRUE(m.rig.driver().callLog().Records().empty());
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_FALSE(std::filesystem::exists(other));
}

TEST(SnapshotCommands, ABadFileGivesOneMessageNamingItAndItsFirstProblemAndSendsNothing) {
  const std::string good = SnapshotText({ChangedCard(0), ChangedCard(1)});
  const struct {
    const char* what;
    std::string text;
    const char* problem;
  } cases[] = {
      {"not a snapshot", "[Zentra]\r\nFenster=1\r\n", "kein Zentra Mischpult"},
      {"binary", std::string("\x7f" "ELF\0\x01\x02[Mischpult\xff\r\n", 16), "kein Zentra Mischpult"},
      {"another version", Replaced(good, "Version=1", "Version=2"), "Version 2 wird nicht unterstützt"},
      {"truncated", good.substr(0, good.find("AnalogOutputSource", good.find("[Karte 2]"))),
       "[Karte 2] AnalogOutputSource fehlt."},
      {"key missing", Replaced(good, "DigitalOutputAudio=0\r\n", ""), "[Karte 1] DigitalOutputAudio fehlt."},
      {"out of range", Replaced(good, "AnalogOutputAdatLeft=2", "AnalogOutputAdatLeft=8"),
       "[Karte 1] AnalogOutputAdatLeft=8 liegt nicht zwischen 0 und 7."},
      {"garbage bytes", Replaced(good, "AnalogOutputVolumeLeft=1000", "AnalogOutputVolumeLeft=10\x01\xfe"),
       "ist keine Dezimalzahl"},
      {"hexadecimal", Replaced(good, "AnalogOutputVolumeLeft=1000", "AnalogOutputVolumeLeft=0x3E8"),
       "AnalogOutputVolumeLeft=0x3E8 ist keine Dezimalzahl."},
      {"negative", Replaced(good, "DigitalOutputSource=3", "DigitalOutputSource=-1"), "ist keine Dezimalzahl"},
      {"no cards", Replaced(good, "Karten=2", "Karten=0"), "Karten=0 liegt nicht zwischen 1 und 4."},
      {"five cards", Replaced(good, "Karten=2", "Karten=5"), "Karten=5 liegt nicht zwischen 1 und 4."},
      {"a card short", Replaced(good, "Karten=2", "Karten=3"), "[Karte 3] AnalogInputMonitorDestination fehlt."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SnapshotRig m(2);
    const std::string path = m.PathOf("Bad.zmx");
    m.WriteFile(path, c.text);
    m.Load(path);
    const std::vector<MessageBoxCall> boxes = m.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(path), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(c.problem), std::string::npos) << boxes[0].text;
    EXPECT_TRUE(m.rig.driver().callLog().Records().empty());
  }
}

TEST(SnapshotCommands, CardsOfTheFileThatAreNotPresentAreNamedAndCardsNotInTheFileStayAsTheyAre) {
  SnapshotRig m(2);
  const std::string four = m.PathOf("Vier.zmx");
  m.WriteFile(four, SnapshotText({ChangedCard(0), ChangedCard(1), ChangedCard(2), ChangedCard(3)}));
  m.Load(four);
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Ausgelassen, weil nicht vorhanden: Karte 3, Karte 4."),
            std::string::npos)
      << m.Boxes()[0].text;
  EXPECT_EQ(m.rig.driver().cards().Volume(0, 0), 0x07D003E8u);
  EXPECT_EQ(m.rig.driver().cards().Volume(1, 0), 0x07D103E9u);
  for (const sim::CallRecord& r : m.rig.driver().callLog().Records()) EXPECT_LT(r.deviceSlot, 12);

  m.rig.user().ClearMessageBoxes();
  const std::string one = m.PathOf("Eine.zmx");
  m.WriteFile(one, SnapshotText({ChangedCard(3)}));
  m.Load(one);
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_EQ(m.rig.driver().cards().Volume(0, 0), 0x07D303EBu);
  EXPECT_EQ(m.rig.driver().cards().Volume(1, 0), 0x07D103E9u);
}

TEST(SnapshotCommands, RefusedChangesAreListedOnceAtTheEndAndTheRestIsApplied) {
  // Card 1: ADAT in use elsewhere refuses the digital monitoring sources;
  // card 2 refuses its mutes.
  SnapshotRig m(2, "[Card1]\nAdatInUse=1\n[Card2]\nRefuseMessages=AnalogOut:0x4002\n");
  TfrmAnalogOut* window = m.OpenAnalogOutput();
  ASSERT_NE(window, nullptr);
  CardSnapshot first = ChangedCard(0);
  first.analogOutputSource = kSourceDigitalInput;
  const std::string path = m.PathOf("Show.zmx");
  m.WriteFile(path, SnapshotText({first, ChangedCard(1)}));
  m.Load(path);

  const std::vector<MessageBoxCall> boxes = m.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("Vom Treiber nicht übernommen:\r\nKarte 1: Analog Output Quelle\r\n"
                               "Karte 1: Digital Output Quelle\r\nKarte 2: Analog Output Stummschaltung"),
            std::string::npos)
      << boxes[0].text;
  const sim::SimCards& driver = m.rig.driver().cards();
  EXPECT_EQ(driver.OutputSource(0, 0)[0], kSourceProgram);
  EXPECT_EQ(driver.Volume(0, 0), 0x07D003E8u);
  EXPECT_EQ(driver.ChannelStatus(0), 0x80u);
  EXPECT_EQ(driver.OutputSource(1, 0)[0], 2);
  EXPECT_EQ(driver.Mute(1), (std::array<std::uint16_t, 2>{0, 0}));
  // The window shows what the driver has, not what the file asked for.
  EXPECT_TRUE(window->SourceButton(0, kSourceProgram)->Checked());
  EXPECT_TRUE(window->SourceButton(1, 2)->Checked());
  EXPECT_FALSE(window->MuteButton(2)->Down());
  EXPECT_TRUE(window->MuteButton(0)->Down());
}

TEST(SnapshotCommands, AFailedReadWritesNothingAndAFailedWriteKeepsTheOldFile) {
  SnapshotRig m(2, "[Card2]\nRefuseMessages=AnalogOut:0x4001\n");
  const std::string path = m.PathOf("Alt.zmx");
  m.WriteFile(path, "old contents");
  m.Save(path);
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Karte 2: Analog Output Stummschaltung konnte nicht gelesen werden."),
            std::string::npos)
      << m.Boxes()[0].text;
  EXPECT_EQ(m.ReadFile(path), "old contents");
  for (const sim::CallRecord& r : ControlMessages(m.rig.driver().callLog().Records()))
    EXPECT_TRUE(r.message != CTL_SET_INPUT_STATE && r.message != CTL_SET_OUTPUT_SOURCE &&
                r.message != WODM_SETVOLUME && r.message != CTL_SET_MUTE &&
                r.message != CTL_SET_CHANNEL_STATUS)
        << DescribeRecord(r);

  m.rig.driver().cards().SetRefusedMessages(1, {});
  m.rig.user().ClearMessageBoxes();
  m.rig.kernel().FailProfileWritesFrom(20);  // in the middle of the second card
  m.Save(path);
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("konnte nicht in " + path + " gespeichert werden"), std::string::npos);
  EXPECT_EQ(m.ReadFile(path), "old contents");
  EXPECT_FALSE(std::filesystem::exists(SnapshotTemporaryPath(path)));

  m.rig.kernel().FailProfileWritesFrom(0);
  m.rig.user().ClearMessageBoxes();
  m.Save(path);
  EXPECT_TRUE(m.Boxes().empty());
  EXPECT_TRUE(ReadSnapshotFile(m.rig.kernel(), path).snapshot.has_value());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m.Folder()), {}), 1);

  m.Save(m.PathOf("kein Ordner/Mix.zmx"));
  ASSERT_EQ(m.Boxes().size(), 1u);
  EXPECT_NE(m.Boxes()[0].text.find("Die Datei konnte nicht geschrieben werden."), std::string::npos);
}

TEST(SnapshotCommands, OpenMixerWindowsShowTheLoadedState) {
  SnapshotRig m(2);
  TfrmAnalogInp* input = m.OpenAnalogInput();
  TfrmAnalogOut* output = m.OpenAnalogOutput();
  m.Tick(*m.control->chkDigitalOutputs, true);
  auto* digital = m.WindowOf<TfrmDigOut>("TfrmDigOut");
  ASSERT_TRUE(input && output && digital);
  const std::string path = m.PathOf("Mix.zmx");
  m.WriteFile(path, SnapshotText({ChangedCard(0), ChangedCard(1)}));
  m.Load(path);
  ASSERT_TRUE(m.Boxes().empty()) << m.Boxes()[0].text;

  for (int card = 0; card < 2; ++card) {
    SCOPED_TRACE(card);
    const CardSnapshot want = ChangedCard(card);
    EXPECT_TRUE(StripButton(*input, *input->pnRouteParent, card, 2)->Checked());
    EXPECT_TRUE(StripButton(*input, *input->pnWhenToMonParent, card, want.analogInputMonitoring)->Checked());
    EXPECT_TRUE(output->SourceButton(card, want.analogOutputSource)->Checked());
    EXPECT_EQ(output->Fader(2 * card)->Position(), PositionOfVolume(want.analogOutputVolumeLeft));
    EXPECT_EQ(output->Fader(2 * card + 1)->Position(), PositionOfVolume(want.analogOutputVolumeRight));
    EXPECT_TRUE(output->MuteButton(2 * card)->Down());
    EXPECT_EQ(output->MuteButton(2 * card + 1)->Down(), want.analogOutputMuteRight == 1);
    EXPECT_TRUE(digital->StripOf(card).sources[want.digitalOutputSource]->Checked());
    EXPECT_TRUE(digital->StripOf(card).prof->Checked());
    EXPECT_FALSE(digital->StripOf(card).audio->Checked());
  }
  // What the windows show is what the driver has.
  const DriverStateRead state = ReadMixerState(m.rig.platform(), 2);
  ASSERT_TRUE(state.snapshot);
  EXPECT_EQ(state.snapshot->cards[0], ChangedCard(0));
  EXPECT_EQ(state.snapshot->cards[1], ChangedCard(1));
}

}  // namespace
}  // namespace zentra
