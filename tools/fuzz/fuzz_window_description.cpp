// Fuzzes the window-description parser, the ${Name} expansion and the loader
// with arbitrary description text, loading into a form on the headless
// backend with every control class of the program registered. A
// DescriptionError (or another exception the loader reports) is the expected
// answer to bad text; a crash, undefined behaviour, a leak or a window left
// half-built are faults.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "controls/audio_control_classes.h"
#include "controls/bilingual.h"
#include "toolkit/application.h"
#include "toolkit/description_parser.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/loader.h"

namespace {

class FuzzForm : public zentra::TForm {
 public:
  FuzzForm() : TForm(nullptr) {}
  const char* ClassName() const override { return "TFuzzForm"; }
};

bool Setup() {
  zentra::Application::Instance().SetBackend(std::make_unique<zentra::HeadlessBackend>());
  zentra::RegisterBilingualClasses();
  zentra::RegisterAudioControlClasses();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = Setup();
  (void)ready;
  const std::string text(reinterpret_cast<const char*>(data), size);

  try {
    zentra::ParseDescription("fuzz.wnd", text);
  } catch (const zentra::DescriptionError&) {
  }
  try {
    zentra::ExpandDescriptionParameters("fuzz.wnd", text, {{"Name", "x"}, {"Caption", "${Name}"}});
  } catch (const zentra::DescriptionError&) {
  }
  auto* form = new FuzzForm;
  try {
    zentra::LoadWindowDescriptionText(*form, "fuzz.wnd", text);
    form->Show();
  } catch (const std::exception&) {
  }
  zentra::FreeAndNil(form);
  // A window freed leaves no timer running.
  auto* headless =
      dynamic_cast<zentra::HeadlessBackend*>(zentra::Application::Instance().GetBackend());
  if (headless != nullptr && headless->ActiveTimerCount() != 0) std::abort();
  return 0;
}
