// Base of everything a window description can create: a name, a 32-bit tag,
// an owner that destroys it, and the components it owns in creation order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zentra {

class ClassInfo;

class Component {
 public:
  // The owner (may be null) takes ownership: it destroys this component when
  // it is destroyed itself.
  explicit Component(Component* owner);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  std::int32_t Tag() const { return tag_; }
  void SetTag(std::int32_t tag) { tag_ = tag; }

  Component* Owner() const { return owner_; }
  const std::vector<Component*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Owned component of that name (direct ownership only), or null.
  Component* FindComponent(const std::string& name) const;

  // A 32-bit value unique among the live components, fit for a system-menu
  // command identifier (a multiple of 16 below 0xF000). Allocated on first
  // use and given back when the component is destroyed.
  std::uint32_t Identity() const;

  // How many components exist in the process (constructed, not yet
  // destroyed): what a leak of windows or controls shows in.
  static int LiveCount();

  // Set once Free has started on this component (its owned components are
  // being destroyed, then itself).
  bool Destroying() const { return destroying_; }

  // Loading state: set while a window description is read.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // Ends the loading state and sends the after-loading notification.
  void EndLoading();

  // The class name used in window descriptions ("TPanel").
  virtual const char* ClassName() const { return "TComponent"; }

 protected:
  // After-loading notification: every property of the description is set.
  virtual void Loaded() {}
  // Runs before the destructor (while the derived object is still whole) when
  // the component is destroyed through Free or by its owner.
  virtual void BeforeDestruction() {}

 private:
  friend void Free(Component* component);
  void RemoveOwned(Component* component);
  void DestroyOwned();

  std::string name_;
  std::int32_t tag_ = 0;
  Component* owner_ = nullptr;
  std::vector<Component*> components_;
  bool loading_ = false;
  bool destroying_ = false;
  mutable std::uint32_t identity_ = 0;
};

// Destroys a component (and everything it owns): runs BeforeDestruction,
// then deletes it. Use this rather than delete. Null is ignored.
void Free(Component* component);

// For std::unique_ptr<T, ComponentDeleter>: a component held outside any owner.
struct ComponentDeleter {
  void operator()(Component* component) const { Free(component); }
};

// Frees the component and clears the reference.
template <class T>
void FreeAndNil(T*& component) {
  T* c = component;
  component = nullptr;
  Free(c);
}

}  // namespace zentra
