// A headless window with the host platform services (virtual multimedia
// timers, INI files in a temporary Windows directory, a recorded system
// menu) for the tests of the audio controls and the window utilities.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "platform/host/host_kernel_api.h"
#include "platform/host/virtual_timer_api.h"
#include "platform/platform.h"
#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra::testing {

class AudioRig {
 public:
  AudioRig()
      : iniDir_(std::filesystem::temp_directory_path() /
                ("zentra-audio-" + std::to_string(::getpid()) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)))),
        kernel_(iniDir_.string()) {
    std::filesystem::create_directories(iniDir_);
    platform_.user = &ui_.User();
    platform_.timer = &timer_;
    platform_.kernel = &kernel_;
    SetCurrentPlatform(platform_);
    RegisterAudioControlClasses();
    RegisterBilingualClasses();
    form_ = new TForm(nullptr);
    form_->SetName("TestWindow");
    form_->SetCaption("Analog Input");
    form_->SetBounds(10, 20, 400, 300);
    form_->Show();
  }
  ~AudioRig() {
    Free(form_);
    SetCurrentPlatform(Platform{});
    std::error_code ignored;
    std::filesystem::remove_all(iniDir_, ignored);
  }
  AudioRig(const AudioRig&) = delete;
  AudioRig& operator=(const AudioRig&) = delete;

  TForm& Form() { return *form_; }
  HeadlessUi& Ui() { return ui_; }
  HeadlessBackend& Backend() { return ui_.Backend(); }
  HeadlessDriver& Driver() { return ui_.Driver(); }
  HostUserApi& User() { return ui_.User(); }
  VirtualTimerApi& Timer() { return timer_; }
  HostKernelApi& Kernel() { return kernel_; }
  std::filesystem::path IniDir() const { return iniDir_; }

  // A control of class T owned by the window and put into parent (the
  // window itself when null).
  template <class T>
  T* Make(const std::string& name, Control* parent = nullptr) {
    T* c = new T(form_);
    c->SetName(name);
    c->SetParent(parent != nullptr ? parent : form_);
    return c;
  }

 private:
  std::filesystem::path iniDir_;
  HeadlessUi ui_;
  VirtualTimerApi timer_;
  HostKernelApi kernel_;
  Platform platform_;
  TForm* form_ = nullptr;
};

}  // namespace zentra::testing
