#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/class_keyed_registry.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

// A label class of its own, registered under its real base.
class TTestCaption : public TLabel {
 public:
  using TLabel::TLabel;
  const char* ClassName() const override { return "TTestCaption"; }
};
// A panel class registered under a base it does not derive from.
class TMisfiledPanel : public TPanel {
 public:
  using TPanel::TPanel;
  const char* ClassName() const override { return "TMisfiledPanel"; }
};
// A class the class registry does not know at all.
class TUnlisted : public TButton {
 public:
  using TButton::TButton;
  const char* ClassName() const override { return "TUnlisted"; }
};

void RegisterTestClasses() {
  static const bool once = [] {
    ClassRegistry::Instance().Register<TTestCaption>("TTestCaption", "TLabel");
    ClassRegistry::Instance().Register<TMisfiledPanel>("TMisfiledPanel", "TLabel");
    return true;
  }();
  (void)once;
}

struct Entry {
  std::string name;
  std::function<bool(const Component&)> fits;
  bool Fits(const Component& component) const { return fits(component); }
};

template <class T>
std::unique_ptr<Entry> EntryOf(const std::string& name) {
  return std::make_unique<Entry>(
      Entry{name, [](const Component& c) { return dynamic_cast<const T*>(&c) != nullptr; }});
}

std::string NameFor(ClassKeyedRegistry<Entry>& registry, const Component& component) {
  const Entry* entry = registry.For(component);
  return entry != nullptr ? entry->name : "(none)";
}

class ClassKeyedRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    registry.Register("TControl", EntryOf<Control>("control"));
    registry.Register("TLabel", EntryOf<TLabel>("label"));
    registry.Register("TPanel", EntryOf<TPanel>("panel"));
  }
  ClassKeyedRegistry<Entry> registry;
};

TEST_F(ClassKeyedRegistryTest, AClassFindsItsOwnEntryOrThatOfItsNearestBaseThatHasOne) {
  TLabel label(nullptr);
  TTestCaption caption(nullptr);
  TButton button(nullptr);
  TPanel panel(nullptr);
  TTimer timer(nullptr);
  EXPECT_EQ(NameFor(registry, label), "label");
  EXPECT_EQ(NameFor(registry, caption), "label");    // TTestCaption -> TLabel
  EXPECT_EQ(NameFor(registry, button), "control");   // TButton -> TControl
  EXPECT_EQ(NameFor(registry, panel), "panel");
  EXPECT_EQ(NameFor(registry, timer), "(none)");     // TTimer -> TComponent: no entry
}

TEST_F(ClassKeyedRegistryTest, AnEntryThatDoesNotFitTheComponentIsPassedOverForTheBasesEntry) {
  // Filed under TLabel, but a panel: the label's entry must not get it.
  TMisfiledPanel misfiled(nullptr);
  EXPECT_EQ(NameFor(registry, misfiled), "control");
  // A class the class registry does not know has no bases to try.
  TUnlisted unlisted(nullptr);
  EXPECT_EQ(NameFor(registry, unlisted), "(none)");
  registry.Register("TUnlisted", EntryOf<TUnlisted>("unlisted"));
  EXPECT_EQ(NameFor(registry, unlisted), "unlisted");
}

TEST_F(ClassKeyedRegistryTest, ALaterRegistrationReplacesWhatEarlierLookupsFoundAndNoneIsTakenTwice) {
  TTestCaption caption(nullptr);
  EXPECT_EQ(NameFor(registry, caption), "label");
  registry.Register("TTestCaption", EntryOf<TTestCaption>("caption"));
  EXPECT_EQ(NameFor(registry, caption), "caption");
  EXPECT_THROW(registry.Register("TLabel", EntryOf<TLabel>("again")), std::logic_error);
  EXPECT_THROW(registry.Register("TEdit", nullptr), std::logic_error);
  EXPECT_EQ(NameFor(registry, caption), "caption");
}

}  // namespace
}  // namespace zentra
