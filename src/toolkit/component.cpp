#include "toolkit/component.h"

#include <algorithm>
#include <stdexcept>

namespace zentra {
namespace {

// Identities are handed out as multiples of 16 in [0x100, 0xF000): the low
// four bits of a system command are the platform's, and values from 0xF000
// are its own commands.
constexpr std::uint32_t kFirstIdentity = 0x100;
constexpr std::uint32_t kIdentityLimit = 0xF000;
constexpr std::uint32_t kIdentityStep = 0x10;

struct IdentityPool {
  std::uint32_t next = kFirstIdentity;
  std::vector<std::uint32_t> released;

  std::uint32_t Take() {
    if (!released.empty()) {
      std::uint32_t id = released.back();
      released.pop_back();
      return id;
    }
    if (next >= kIdentityLimit) throw std::runtime_error("Component identities exhausted");
    std::uint32_t id = next;
    next += kIdentityStep;
    return id;
  }
  void Give(std::uint32_t id) { released.push_back(id); }
};

IdentityPool& Pool() {
  static IdentityPool pool;
  return pool;
}

}  // namespace

namespace {
int liveComponents = 0;
}  // namespace

Component::Component(Component* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
  ++liveComponents;
}

int Component::LiveCount() { return liveComponents; }

Component::~Component() {
  DestroyOwned();
  if (owner_ != nullptr) owner_->RemoveOwned(this);
  if (identity_ != 0) Pool().Give(identity_);
  --liveComponents;
}

void Component::SetName(const std::string& name) { name_ = name; }

Component* Component::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_)
    if (c->name_ == name) return c;
  return nullptr;
}

std::uint32_t Component::Identity() const {
  if (identity_ == 0) identity_ = Pool().Take();
  return identity_;
}

void Component::EndLoading() {
  if (!loading_) return;
  loading_ = false;
  Loaded();
}

void Component::RemoveOwned(Component* component) {
  // Owned components mostly go last first (DestroyOwned), so the search
  // starts at the back: freeing a window of thousands stays linear.
  auto it = std::find(components_.rbegin(), components_.rend(), component);
  if (it != components_.rend()) components_.erase(std::next(it).base());
}

void Component::DestroyOwned() {
  // Last created first, so later components that refer to earlier ones go first.
  while (!components_.empty()) Free(components_.back());
}

void Free(Component* component) {
  if (component == nullptr || component->destroying_) return;
  component->destroying_ = true;
  component->BeforeDestruction();
  component->DestroyOwned();
  delete component;
}

}  // namespace zentra
