#include "toolkit/class_registry.h"

#include <stdexcept>

#include "toolkit/form.h"

namespace zentra {

bool ClassInfo::InheritsFrom(const std::string& className) const {
  for (const ClassInfo* c = this; c != nullptr; c = c->base_)
    if (c->name_ == className) return true;
  return false;
}

Component* ClassInfo::Create(Component* owner) const {
  if (!factory_) throw PropertyError("class " + name_ + " cannot be created from a description");
  return factory_(owner);
}

const PropertyDef* ClassInfo::FindProperty(const std::string& name) const {
  return FindRankedProperty(name).def;
}

ClassInfo::RankedProperty ClassInfo::FindRankedProperty(const std::string& name) const {
  // PropertyNames() lists the root class's properties first and places a
  // redeclared one at its latest declaration: the rank is the declaring
  // class's depth below the root, then the declaration's index in it.
  long depth = 0;
  for (const ClassInfo* c = base_; c != nullptr; c = c->base_) ++depth;
  for (const ClassInfo* c = this; c != nullptr; c = c->base_, --depth)
    for (std::size_t i = c->own_.size(); i-- > 0;)
      if (c->own_[i].name == name) return {&c->own_[i], depth * 65536 + static_cast<long>(i)};
  return {};
}

std::vector<std::string> ClassInfo::PropertyNames() const {
  std::vector<const ClassInfo*> chain;
  for (const ClassInfo* c = this; c != nullptr; c = c->base_) chain.insert(chain.begin(), c);
  std::vector<std::string> names;
  for (const ClassInfo* c : chain) {
    for (const PropertyDef& p : c->own_) {
      // A redeclared property moves to its latest declaration.
      for (auto it = names.begin(); it != names.end(); ++it)
        if (*it == p.name) {
          names.erase(it);
          break;
        }
      names.push_back(p.name);
    }
  }
  return names;
}

ClassRegistry& ClassRegistry::Instance() {
  static ClassRegistry registry;
  return registry;
}

ClassRegistry::ClassRegistry() { RegisterStandardClasses(*this); }

ClassInfo& ClassRegistry::Add(const std::string& name, const std::string& baseName,
                              ClassInfo::Factory factory) {
  if (classes_.count(name) != 0) throw std::logic_error("class " + name + " registered twice");
  const ClassInfo* base = nullptr;
  if (!baseName.empty()) {
    base = Find(baseName);
    if (base == nullptr) throw std::logic_error("base class " + baseName + " of " + name + " unknown");
  }
  auto info = std::make_unique<ClassInfo>(name, base, std::move(factory));
  ClassInfo& ref = *info;
  classes_[name] = std::move(info);
  return ref;
}

const ClassInfo* ClassRegistry::Find(const std::string& name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? nullptr : it->second.get();
}

const Handler* LoadContext::FindHandler(const std::string& name) const {
  return form_.Handlers().Find(name);
}

Component& LoadContext::ComponentNamed(const std::string& name) const {
  if (name == form_.Name()) return form_;
  Component* c = form_.FindComponent(name);
  if (c == nullptr) throw PropertyError("unknown component " + name);
  return *c;
}

}  // namespace zentra
