// The set of platform services handed to the subsystems at start-up.
// Each build composes its own set: real Win32 forwards, the simulated
// driver, or host implementations for tests.
#pragma once

#include "platform/dialog_api.h"
#include "platform/kernel_api.h"
#include "platform/shell_api.h"
#include "platform/timer_api.h"
#include "platform/user_api.h"
#include "platform/wave_api.h"
#include "platform/wow16_api.h"

namespace zentra {

struct Platform {
  ShellApi* shell = nullptr;
  Wow16Api* wow16 = nullptr;
  KernelApi* kernel = nullptr;
  UserApi* user = nullptr;
  WaveApi* wave = nullptr;
  TimerApi* timer = nullptr;
  DialogApi* dialogs = nullptr;
};

// The services of this process, set once at start-up (and by test fixtures)
// and read by the windows, which are created by the toolkit and so cannot
// be handed them through their constructors.
const Platform& CurrentPlatform();
void SetCurrentPlatform(const Platform& platform);

}  // namespace zentra
