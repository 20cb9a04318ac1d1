#include "app/driver_errors.h"

#include <cstddef>

namespace zentra {
namespace {

constexpr char kCaptionError[] = "Zentra Fehler";
constexpr char kCaptionInit[] = "Zentra Initialisierungsfehler";
constexpr char kCaptionWarning[] = "Zentra Warnung";
constexpr char kCaptionInternal[] = "Internal Error";
constexpr char kUndefinedText[] = "Undefined ErrId";

constexpr char kCardPrefix[] = "Die Hardware der Zentra Karte #";
constexpr char kCardSuffix[] = " konnte nicht initialisiert werden. \r\n";
constexpr char kDevicePrefix[] = "Das Gerät ";
constexpr char kDeviceSuffix[] = " konnte nicht geöffnet werden. \r\n";
constexpr char kDeviceTail[] = "\r\nKeine Audiofunktionen auf diesem Gerät verfügbar.";
// Device names are shown with at most this many characters.
constexpr std::size_t kDeviceNameLimit = 63;

enum class Composition { kPlain, kCard, kDevice, kRate };

struct ErrorRow {
  std::int32_t id;
  Composition composition;
  const char* caption;
  std::uint32_t style;
  const char* text;
};

const ErrorRow kErrorTable[] = {
    {-1, Composition::kPlain, kCaptionError, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nNicht genügend Speicher verfügbar.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-2, Composition::kCard, kCaptionError, MB_ICONERROR,
     "Fehler beim Lesen der Datei RBT Datei."},
    {-3, Composition::kCard, kCaptionError, MB_ICONERROR,
     "Die passende .RBT Datei konnte nicht im Systemverzeichnis von Windows gefunden werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-4, Composition::kCard, kCaptionError, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFehlende Timerresourcen im Windows System.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-5, Composition::kDevice, kCaptionError, MB_ICONERROR,
     "Das Aktivieren dieses Gerätes macht eine Reinitialisierung der Hardware notwendig.\r\nDies ist derzeit nicht möglich, da andere Geräte der Karte arbeiten."},
    {-6, Composition::kPlain, kCaptionError, MB_ICONERROR,
     "Die Einstellungen des Zentra Treibers können derzeit nicht geändert werden.\r\nBeenden Sie erst alle Anwendungen, welche die Zentra verwenden."},
    {-7, Composition::kPlain, kCaptionError, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFehler beim Lesen der Systemregistrierung.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-8, Composition::kPlain, kCaptionError, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nSorry, interner Zeigerfehler.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-17, Composition::kPlain, kCaptionInit, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nDas Modul Zentra.VXD wurde nicht geladen.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-18, Composition::kPlain, kCaptionInit, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nKernel Driver Device konnte nicht geöffnet werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-19, Composition::kPlain, kCaptionInit, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nKernel Audio Devices konnten nicht geöffnet werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-20, Composition::kPlain, kCaptionInit, MB_ICONERROR,
     "Fehler beim Erzeugen eines Kernel Ereignisobjects.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-21, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Die Playcounter der Zentra ließen sich nicht zurücksetzen. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-22, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Die Playcounter der Zentra laufen nicht. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-23, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Die Recordcounter der Zentra ließen sich nicht zurücksetzen. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-24, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Die Recordcounter der Zentra laufen nicht. \r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-25, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "IRQ konnte nicht belegt werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-26, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Der Interrupt Request der Hardware bleibt unerkannt.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-27, Composition::kPlain, kCaptionInit, MB_ICONERROR,
     "Der Zentra Treiber konnte nicht initialisiert werden. \r\nFalsche Version des Moduls Zentra.VXD\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-28, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "DirectSound Modul konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-29, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Midi Modul konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-30, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Fpga konnte nicht initialisiert werden.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-31, Composition::kCard, kCaptionInit, MB_ICONERROR,
     "Kartenspeicher fehlerhaft.\r\nKeine Audiofunktionen auf diesem Gerät verfügbar."},
    {-49, Composition::kDevice, kCaptionError, MB_ICONERROR,
     "Fehler bei I/O Operation mit Kernel."},
    {-51, Composition::kRate, kCaptionError, MB_ICONERROR,
     "Das Gerät \"%s\" kann momentan nicht mit der Samplerate %d Hz geöffnet werden.\r\nDer angeschlossene Clock Generator wird bereits durch ein anderes Gerät mit der Samplerate %d Hz betrieben."},
    {-52, Composition::kRate, kCaptionWarning, MB_ICONINFORMATION,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz stimmt nicht mit der des angeschlossenen und Clock Generators (%d Hz) überein."},
    {-53, Composition::kRate, kCaptionWarning, MB_ICONINFORMATION,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz kann nicht bereitgestellt werden.\r\nDie Zentra Hardware konnte sich nicht auf den externen Clock einstellen (No Lock)."},
    {-54, Composition::kRate, kCaptionWarning, MB_ICONINFORMATION,
     "Die für das Gerät \"%s\" geforderte Samplerate von %d Hz kann nicht bereitgestellt werden.\r\nDer externe Clock entspricht einer Samplerate von %d Hz."},
    {-55, Composition::kDevice, kCaptionError, MB_ICONERROR,
     "Gleichzeitiger Betrieb von ADAT/ADAT Monitoring/ADAT Sync und Digital/Digital Monitoring/Digital Sync nicht möglich."},
    {-56, Composition::kDevice, kCaptionError, MB_ICONERROR,
     "Fehler beim Erzeugen eines Threads."},
    {-57, Composition::kDevice, kCaptionInit, MB_ICONERROR,
     "Fehler beim Erzeugen eines Kernel Ereignisobjects."},
    {-58, Composition::kDevice, kCaptionInit, MB_ICONERROR,
     "Fehler beim Öffnen eines Kernel Ereignisobjekts."},
    {-59, Composition::kDevice, kCaptionInit, MB_ICONERROR,
     "Fehler beim Warten auf Ereignisobjekt."},
    {-60, Composition::kDevice, kCaptionError, MB_ICONERROR,
     "Adat-Monitoring ist aktiv."},
    {-61, Composition::kRate, kCaptionError, MB_ICONERROR,
     "Sorry, Interner Fehler: Diese Fehlermeldung (NoRwP) dürfte nie erscheinen."},
};

const ErrorRow kUndefinedRow = {0, Composition::kPlain, kCaptionInternal, MB_ICONERROR,
                                kUndefinedText};

const ErrorRow& RowFor(std::int32_t errorId) {
  for (const auto& row : kErrorTable)
    if (row.id == errorId) return row;
  return kUndefinedRow;
}

// The first n characters of a UTF-8 text (a character is never split).
std::string FirstCharacters(const std::string& text, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t count = 0; i < text.size() && count < n; ++count) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

// Fills %s with the device name and the two %d in turn with the requested
// rate and the rate in force; any other text is left as it stands.
std::string FillRateText(const char* format, const DriverErrorDevice& device) {
  std::string out;
  int numbers = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += device.name;
      ++p;
    } else if (p[0] == '%' && p[1] == 'd' && numbers < 2) {
      out += std::to_string(numbers++ == 0 ? device.requestedRate : device.rateInForce);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

std::string Compose(const ErrorRow& row, const DriverErrorContext& context) {
  switch (row.composition) {
    case Composition::kPlain:
      return row.text;
    case Composition::kCard:
      return kCardPrefix + std::to_string(context.Value()) + kCardSuffix + row.text;
    case Composition::kDevice: {
      std::string text = kDevicePrefix;
      if (const DriverErrorDevice* device = context.Device())
        text += "\"" + FirstCharacters(device->name, kDeviceNameLimit) + "\"";
      return text + kDeviceSuffix + row.text + kDeviceTail;
    }
    case Composition::kRate:
      if (const DriverErrorDevice* device = context.Device()) return FillRateText(row.text, *device);
      return row.text;
  }
  return row.text;
}

}  // namespace

std::optional<DriverErrorMessage> DriverErrorMessageFor(std::int32_t errorId,
                                                        const DriverErrorContext& context) {
  if (errorId == 1 || errorId == 0 || errorId == -50) return std::nullopt;
  const ErrorRow& row = RowFor(errorId);
  return DriverErrorMessage{Compose(row, context), row.caption, row.style};
}

bool ReportDriverError(const Platform& platform, std::int32_t errorId,
                       const DriverErrorContext& context) {
  const std::optional<DriverErrorMessage> message = DriverErrorMessageFor(errorId, context);
  if (!message || platform.user == nullptr) return false;
  platform.user->MessageBoxA(0, message->text.c_str(), message->caption.c_str(), message->style);
  return true;
}

}  // namespace zentra
