#include <gtest/gtest.h>

#include <set>

#include "support/headless_ui.h"
#include "toolkit/std_controls.h"

namespace zentra {
namespace {

using testing::HeadlessUi;
using testing::Owned;

// Counts destructions of the components it is attached to.
class Probe : public Component {
 public:
  Probe(Component* owner, int* destroyed) : Component(owner), destroyed_(destroyed) {}
  ~Probe() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

TEST(ComponentTest, OwnerDestroysWhatItOwnsAndForgetsWhatIsFreedEarlier) {
  int destroyed = 0;
  auto* owner = new Component(nullptr);
  auto* a = new Probe(owner, &destroyed);
  auto* b = new Probe(owner, &destroyed);
  new Probe(b, &destroyed);  // owned by b, destroyed with it
  EXPECT_EQ(owner->ComponentCount(), 2);
  Free(a);
  EXPECT_EQ(destroyed, 1);
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components()[0], b);
  Free(owner);
  EXPECT_EQ(destroyed, 3);
}

TEST(ComponentTest, FindComponentByNameAmongOwned) {
  Component owner(nullptr);
  auto* a = new Component(&owner);
  a->SetName("alpha");
  EXPECT_EQ(owner.FindComponent("alpha"), a);
  EXPECT_EQ(owner.FindComponent("beta"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(ComponentTest, IdentitiesAreUniqueMenuSafeAndReusedAfterDestruction) {
  Component owner(nullptr);
  std::set<std::uint32_t> seen;
  std::vector<Component*> parts;
  for (int i = 0; i < 50; ++i) {
    parts.push_back(new Component(&owner));
    std::uint32_t id = parts.back()->Identity();
    EXPECT_EQ(id, parts.back()->Identity()) << "stable";
    EXPECT_EQ(id % 16, 0u);
    EXPECT_GE(id, 0x100u);
    EXPECT_LT(id, 0xF000u);
    EXPECT_TRUE(seen.insert(id).second) << "duplicate identity";
  }
  const std::uint32_t freed = parts[10]->Identity();
  Free(parts[10]);
  auto* fresh = new Component(&owner);
  EXPECT_EQ(fresh->Identity(), freed);
}

TEST(ComponentTest, FreeRunsBeforeDestructionWhileTheFormIsWhole) {
  HeadlessUi ui;
  int calls = 0;
  auto* form = new TForm(nullptr);
  form->OnDestroy = [&](Component* sender) {
    EXPECT_EQ(sender, form);
    ++calls;
  };
  Free(form);
  EXPECT_EQ(calls, 1);
}

TEST(ComponentTest, DestroyingAParentDestroysItsChildControls) {
  HeadlessUi ui;
  Owned<TForm> form(new TForm(nullptr));
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  auto* label = new TLabel(form.get());
  label->SetParent(panel);
  label->SetName("lb");
  EXPECT_EQ(form->ComponentCount(), 2);
  Free(panel);
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->FindComponent("lb"), nullptr);
  EXPECT_EQ(form->ChildCount(), 0);
}

}  // namespace
}  // namespace zentra
