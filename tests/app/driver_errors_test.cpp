#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/driver_errors.h"
#include "platform/host/host_user_api.h"

namespace zentra {
namespace {

struct Expected {
  std::int32_t id;
  const char* caption;
  std::uint32_t style;
  const char* textForCard2;  // the message with card number 2 as context
};

// Every message the driver can cause, as the user must see it.
const Expected kExpected[] = {
    {-1, "Zentra Fehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nNicht genügend Speicher verfügbar.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-2, "Zentra Fehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nFehler beim Lesen der Datei RBT Datei."},
    {-3, "Zentra Fehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDie passende .RBT Datei konnte nicht im Systemverzeichnis von Windows gefunden werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-4, "Zentra Fehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDer Zentra Treiber konnte nicht initialisiert werden. \r\nFehlende Timerresourcen im Windows System.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-5, "Zentra Fehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nDas Aktivieren dieses Gerätes macht eine Reinitialisierung der Hardware notwendig.\r\nDies ist derzeit nicht möglich, da andere Geräte der Karte arbeiten.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-6, "Zentra Fehler", 16,
     "Die Einstellungen des Zentra Treibers können derzeit nicht geändert werden.\r\nBeenden Sie erst alle Anwendungen, welche die Zentra verwenden."},
    {-7, "Zentra Fehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFehler beim Lesen der Systemregistrierung.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-8, "Zentra Fehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nSorry, interner Zeigerfehler.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-17, "Zentra Initialisierungsfehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nDas Modul Zentra.VXD wurde nicht geladen.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-18, "Zentra Initialisierungsfehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nKernel Driver Device konnte nicht geöffnet werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-19, "Zentra Initialisierungsfehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nKernel Audio Devices konnten nicht geöffnet werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-20, "Zentra Initialisierungsfehler", 16,
     "Fehler beim Erzeugen eines Kernel Ereignisobjects.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-21, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDie Playcounter der Zentra ließen sich nicht zurücksetzen. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-22, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDie Playcounter der Zentra laufen nicht. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-23, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDie Recordcounter der Zentra ließen sich nicht zurücksetzen. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-24, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDie Recordcounter der Zentra laufen nicht. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-25, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nIRQ konnte nicht belegt werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-26, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDer Interrupt Request der Hardware bleibt unerkannt.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-27, "Zentra Initialisierungsfehler", 16,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFalsche Version des Moduls Zentra.VXD\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-28, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nDirectSound Modul konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-29, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nMidi Modul konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-30, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nFpga konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-31, "Zentra Initialisierungsfehler", 16,
     "Die Hardware der Zentra Karte #2 konnte nicht initialisiert werden. \r\nKartenspeicher fehlerhaft.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-49, "Zentra Fehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nFehler bei I/O Operation mit Kernel.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-51, "Zentra Fehler", 16,
     "Das Gerät \"%s\" kann momentan nicht mit der Samplerate %d Hz geöffnet werden.\r\nDer angeschlossene Clock Generator wird bereits durch ein anderes Gerät mit der Samplerate %d Hz betrieben."},
    {-52, "Zentra Warnung", 64,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz stimmt nicht mit der des angeschlossenen und Clock Generators (%d Hz) überein."},
    {-53, "Zentra Warnung", 64,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz kann nicht bereitgestellt werden.\r\nDie Zentra Hardware konnte sich nicht auf den externen Clock einstellen (No Lock)."},
    {-54, "Zentra Warnung", 64,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz kann nicht bereitgestellt werden.\r\nDer externe Clock entspricht einer Samplerate von %d Hz."},
    {-55, "Zentra Fehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nGleichzeitiger Betrieb von ADAT/ADAT Monitoring/ADAT Sync und Digital/Digital Monitoring/Digital Sync nicht möglich.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-56, "Zentra Fehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nFehler beim Erzeugen eines Threads.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-57, "Zentra Initialisierungsfehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nFehler beim Erzeugen eines Kernel Ereignisobjects.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-58, "Zentra Initialisierungsfehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nFehler beim Öffnen eines Kernel Ereignisobjekts.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-59, "Zentra Initialisierungsfehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nFehler beim Warten auf Ereignisobjekt.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-60, "Zentra Fehler", 16,
     "Das Gerät  konnte nicht geöffnet werden. \r\nAdat-Monitoring ist aktiv.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-61, "Zentra Fehler", 16,
     "Sorry, Interner Fehler: Diese Fehlermeldung (NoRwP) dürfte nie erscheinen."},

};

class DriverErrorsTest : public ::testing::Test {
 protected:
  DriverErrorsTest() { platform_.user = &user_; }
  HostUserApi user_;
  Platform platform_;
};

TEST_F(DriverErrorsTest, EveryErrorIdShowsItsTextCaptionAndStyle) {
  for (const Expected& e : kExpected) {
    user_.ClearMessageBoxes();
    EXPECT_TRUE(ReportDriverError(platform_, e.id, 2)) << e.id;
    const auto boxes = user_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << e.id;
    EXPECT_EQ(boxes[0].owner, 0u) << e.id;
    EXPECT_EQ(boxes[0].text, e.textForCard2) << e.id;
    EXPECT_EQ(boxes[0].caption, e.caption) << e.id;
    EXPECT_EQ(boxes[0].style, e.style) << e.id;
  }
}

TEST_F(DriverErrorsTest, IdsWithoutARowAreUndefined) {
  std::set<std::int32_t> known;
  for (const Expected& e : kExpected) known.insert(e.id);
  for (std::int32_t id = -70; id <= 5; ++id) {
    if (known.count(id) || id == 1 || id == 0 || id == -50) continue;
    const auto message = DriverErrorMessageFor(id, 3);
    ASSERT_TRUE(message.has_value()) << id;
    EXPECT_EQ(message->text, "Undefined ErrId") << id;
    EXPECT_EQ(message->caption, "Internal Error") << id;
    EXPECT_EQ(message->style, MB_ICONERROR) << id;
  }
  for (std::int32_t id : {INT32_MIN, INT32_MAX, 7, -40, -9, -16, -32, -48, -62})
    EXPECT_EQ(DriverErrorMessageFor(id, {})->text, "Undefined ErrId") << id;
}

TEST_F(DriverErrorsTest, NoErrorAndSilentIdsShowNothing) {
  for (std::int32_t id : {1, 0, -50}) {
    EXPECT_FALSE(ReportDriverError(platform_, id, 4)) << id;
    EXPECT_FALSE(ReportDriverError(platform_, id, DriverErrorDevice{"X", 1, 2})) << id;
  }
  EXPECT_TRUE(user_.MessageBoxes().empty());
}

TEST_F(DriverErrorsTest, CardTextNamesTheContextNumber) {
  EXPECT_EQ(DriverErrorMessageFor(-22, 3)->text,
            "Die Hardware der Zentra Karte #3 konnte nicht initialisiert werden. \r\n"
            "Die Playcounter der Zentra laufen nicht. \r\n"
            "Keine Audiofunktionen auf diesem Gerät verfügbar.");
  EXPECT_EQ(DriverErrorMessageFor(-22, 3)->caption, "Zentra Initialisierungsfehler");
  EXPECT_EQ(DriverErrorMessageFor(-22, 0)->text.substr(0, 33),
            "Die Hardware der Zentra Karte #0 ");
  EXPECT_EQ(DriverErrorMessageFor(-2, {})->text.substr(0, 33),
            "Die Hardware der Zentra Karte #0 ")
      << "no context counts as 0";
}

TEST_F(DriverErrorsTest, DeviceTextWithAndWithoutADevice) {
  const std::string tail = "\r\nKeine Audiofunktionen auf diesem Gerät verfügbar.";
  EXPECT_EQ(DriverErrorMessageFor(-57, {})->text,
            "Das Gerät  konnte nicht geöffnet werden. \r\n"
            "Fehler beim Erzeugen eines Kernel Ereignisobjects." + tail);
  EXPECT_EQ(DriverErrorMessageFor(-60, DriverErrorDevice{"ADAT Record 1-2", 48000, 44100})->text,
            "Das Gerät \"ADAT Record 1-2\" konnte nicht geöffnet werden. \r\n"
            "Adat-Monitoring ist aktiv." + tail);
  // The tail appears exactly once.
  const std::string text = DriverErrorMessageFor(-57, {})->text;
  EXPECT_EQ(text.find("Keine Audiofunktionen"), text.rfind("Keine Audiofunktionen"));
}

TEST_F(DriverErrorsTest, DeviceNamesAreCutTo63Characters) {
  const std::string name70(70, 'N');
  const std::string text = DriverErrorMessageFor(-49, DriverErrorDevice{name70, 0, 0})->text;
  EXPECT_EQ(text.substr(0, 12 + 63 + 1), "Das Gerät \"" + std::string(63, 'N') + "\"");
  // A cut never splits a character.
  std::string umlauts;
  for (int i = 0; i < 70; ++i) umlauts += "ä";
  const std::string cut = DriverErrorMessageFor(-49, DriverErrorDevice{umlauts, 0, 0})->text;
  std::string expected = "Das Gerät \"";
  for (int i = 0; i < 63; ++i) expected += "ä";
  EXPECT_EQ(cut.substr(0, expected.size() + 1), expected + "\"");
}

TEST_F(DriverErrorsTest, RateTextsAreFilledOnlyWithADevice) {
  const DriverErrorDevice device{"Analog Record", 48000, 44100};
  EXPECT_EQ(DriverErrorMessageFor(-54, device)->text,
            "Die für das Gerät \"Analog Record\" geforderte Samplerate von 48000 Hz kann nicht "
            "bereitgestellt werden.\r\nDer externe Clock entspricht einer Samplerate von 44100 Hz.");
  EXPECT_EQ(DriverErrorMessageFor(-51, device)->text,
            "Das Gerät \"Analog Record\" kann momentan nicht mit der Samplerate 48000 Hz geöffnet "
            "werden.\r\nDer angeschlossene Clock Generator wird bereits durch ein anderes Gerät "
            "mit der Samplerate 44100 Hz betrieben.");
  const auto unfilled = DriverErrorMessageFor(-52, 2);
  EXPECT_NE(unfilled->text.find("\"%s\""), std::string::npos);
  EXPECT_NE(unfilled->text.find("%d Hz"), std::string::npos);
  EXPECT_EQ(unfilled->caption, "Zentra Warnung");
  EXPECT_EQ(unfilled->style, MB_ICONINFORMATION);
  EXPECT_EQ(DriverErrorMessageFor(-61, device)->text,
            "Sorry, Interner Fehler: Diese Fehlermeldung (NoRwP) dürfte nie erscheinen.");
  // A name with format characters is shown as it stands.
  EXPECT_NE(DriverErrorMessageFor(-53, DriverErrorDevice{"%s%d%n", 1, 2})->text.find("\"%s%d%n\""),
            std::string::npos);
}

TEST_F(DriverErrorsTest, ReturnsOnlyAfterTheUserClosedTheBox) {
  bool answered = false;
  user_.SetMessageBoxHandler([&](const MessageBoxCall&) {
    answered = true;
    return IDOK;
  });
  EXPECT_TRUE(ReportDriverError(platform_, -27));
  EXPECT_TRUE(answered);
}

}  // namespace
}  // namespace zentra
