#include "app/device_removal.h"

#include <array>
#include <cstring>

#include "app/control_window.h"
#include "app/program_windows.h"
#include "driver/config_command.h"
#include "driver/device_tables.h"
#include "toolkit/application.h"

namespace zentra {

bool HandleCardRemovalQuery(std::uint32_t devnode) {
  for (int card = 0; card < CardCount && card < kMaxCards; ++card) {
    if (static_cast<std::uint32_t>(CardDevnodeTable[card]) != devnode) continue;

    std::array<std::uint8_t, kDriverConfigRecordBytes> record{};
    const Platform& platform = CurrentPlatform();
    if (ConfigCommand(platform, ConfigurationGate(), kCmdGetConfig, record.data(),
                      static_cast<std::int32_t>(record.size())) != 0) {
      const std::int32_t removed = -1;
      std::memcpy(record.data(), &removed, sizeof removed);
      ConfigCommand(platform, ConfigurationGate(), kCmdSetConfig, record.data(),
                    static_cast<std::int32_t>(record.size()));
    }
    // The question may arrive while one of the control window's own
    // handlers (or a window it is constructing) waits in a message loop:
    // the window is closed now (its state saved, its mixer windows closed)
    // and destroyed with the other windows once the main loop has ended.
    if (TMixControlWnd* window = Windows().MixControlWnd; window != nullptr) window->Close();
    Application::Instance().Terminate();
    return true;
  }
  return false;
}

}  // namespace zentra
