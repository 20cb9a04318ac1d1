// Entries kept per class of the widget model and found for a component by
// its class: the entry of the component's own class, or else of its nearest
// base class that has one, by the bases the class registry knows (a
// bilingual label finds the label's entry). A backend keeps its per-class
// adapters so. An entry says with Fits whether it may serve a component:
// one that does not (a class registered under a base it does not derive
// from) is passed over for the base's entry. Lookups are remembered per
// class name.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "toolkit/class_registry.h"
#include "toolkit/component.h"

namespace zentra {

template <class Entry>
class ClassKeyedRegistry {
 public:
  // A class has one entry; registering it again is a programming error.
  void Register(const std::string& className, std::unique_ptr<Entry> entry) {
    if (!entry || !entries_.emplace(className, std::move(entry)).second)
      throw std::logic_error("the entry of " + className + " is registered twice");
    resolved_.clear();
  }

  // The component's entry, or null when neither its class nor a base has one.
  const Entry* For(const Component& component) {
    const std::string name = component.ClassName();
    auto known = resolved_.find(name);
    if (known != resolved_.end()) return known->second;
    const Entry* entry = Resolve(component);
    resolved_.emplace(name, entry);
    return entry;
  }

 private:
  const Entry* Resolve(const Component& component) const {
    const ClassRegistry& classes = ClassRegistry::Instance();
    std::string name = component.ClassName();
    for (;;) {
      auto it = entries_.find(name);
      if (it != entries_.end() && it->second->Fits(component)) return it->second.get();
      const ClassInfo* info = classes.Find(name);
      if (info == nullptr || info->Base() == nullptr) return nullptr;
      name = info->Base()->Name();
    }
  }

  std::map<std::string, std::unique_ptr<Entry>> entries_;
  std::map<std::string, const Entry*> resolved_;
};

}  // namespace zentra
