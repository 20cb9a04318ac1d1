// Classes that window descriptions can create, each with its table of
// properties (name -> setter). A class inherits its base class's table; its
// own properties follow the inherited ones, and a property it declares again
// replaces the inherited one and takes its own place in the order.
// Subsystems add their classes (TSlider, TLevelMeter, the bilingual
// controls...) with Register.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/component.h"
#include "toolkit/events.h"
#include "toolkit/handler_registry.h"
#include "toolkit/property_value.h"

namespace zentra {

class LoadContext;
class TForm;

using PropertySetter = std::function<void(Component&, const PropertyValue&, LoadContext&)>;

struct PropertyDef {
  std::string name;
  PropertySetter set;
};

class ClassInfo {
 public:
  using Factory = std::function<Component*(Component* owner)>;
  ClassInfo(std::string name, const ClassInfo* base, Factory factory)
      : name_(std::move(name)), base_(base), factory_(std::move(factory)) {}

  const std::string& Name() const { return name_; }
  const ClassInfo* Base() const { return base_; }
  bool InheritsFrom(const std::string& className) const;
  // Creates an instance owned by owner; throws for a class without factory.
  Component* Create(Component* owner) const;

  // Declares a property whose setter takes the class's own type.
  template <class T>
  ClassInfo& Property(const std::string& name,
                      std::function<void(T&, const PropertyValue&, LoadContext&)> set) {
    own_.push_back({name, [set](Component& c, const PropertyValue& v, LoadContext& ctx) {
                      set(static_cast<T&>(c), v, ctx);
                    }});
    return *this;
  }
  template <class T>
  ClassInfo& Property(const std::string& name, std::function<void(T&, const PropertyValue&)> set) {
    own_.push_back({name, [set](Component& c, const PropertyValue& v, LoadContext&) {
                      set(static_cast<T&>(c), v);
                    }});
    return *this;
  }

  // The most derived declaration of that property, or null.
  const PropertyDef* FindProperty(const std::string& name) const;
  // The same with its place in PropertyNames() as a number that sorts the
  // same way (no list is built): properties are looked up once per
  // component of every window that is loaded.
  struct RankedProperty {
    const PropertyDef* def = nullptr;
    long rank = 0;
  };
  RankedProperty FindRankedProperty(const std::string& name) const;
  // Every property in declaration order (inherited first).
  std::vector<std::string> PropertyNames() const;

 private:
  std::string name_;
  const ClassInfo* base_;
  Factory factory_;
  std::vector<PropertyDef> own_;
};

class ClassRegistry {
 public:
  // Holds the toolkit's standard classes from the start.
  static ClassRegistry& Instance();

  // Registers class T (constructible from an owner) under name, derived from
  // the registered class baseName. Registering a name twice is an error.
  template <class T>
  ClassInfo& Register(const std::string& name, const std::string& baseName) {
    return Add(name, baseName, [](Component* owner) -> Component* { return new T(owner); });
  }
  // A class that descriptions cannot create but whose table others inherit.
  ClassInfo& RegisterAbstract(const std::string& name, const std::string& baseName) {
    return Add(name, baseName, nullptr);
  }
  const ClassInfo* Find(const std::string& name) const;
  bool Contains(const std::string& name) const { return Find(name) != nullptr; }

 private:
  ClassRegistry();
  ClassInfo& Add(const std::string& name, const std::string& baseName, ClassInfo::Factory factory);

  std::map<std::string, std::unique_ptr<ClassInfo>> classes_;
};

// What a property setter may need besides its value: the window being
// loaded, its handlers and components.
class LoadContext {
 public:
  explicit LoadContext(TForm& form) : form_(form) {}
  TForm& Form() const { return form_; }
  // The file and line of the property being applied (a window's description
  // or one it includes).
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  void SetPlace(const std::string& file, int line) {
    file_ = file;
    line_ = line;
  }

  // The window's handler of that name, of the event type E (NotifyEvent,
  // CloseEvent, MouseEvent, MouseMoveEvent, KeyEvent).
  template <class E>
  E Handler(const PropertyValue& value) const;
  // Runs after every component of the window exists (for references to
  // components written further down).
  void Defer(std::function<void()> fixup) { fixups_.push_back({file_, line_, std::move(fixup)}); }
  // A component of the window by name; throws PropertyError when missing.
  Component& ComponentNamed(const std::string& name) const;

  struct Fixup {
    std::string file;
    int line;
    std::function<void()> run;
  };
  std::vector<Fixup>& Fixups() { return fixups_; }

 private:
  const zentra::Handler* FindHandler(const std::string& name) const;

  TForm& form_;
  std::string file_;
  int line_ = 0;
  std::vector<Fixup> fixups_;
};

template <class E>
E LoadContext::Handler(const PropertyValue& value) const {
  const std::string name = AsIdentifier(value);
  const auto* handler = FindHandler(name);
  if (handler == nullptr) throw PropertyError("unknown handler " + name);
  const E* typed = std::get_if<E>(handler);
  if (typed == nullptr) throw PropertyError("handler " + name + " does not fit this event");
  return *typed;
}

// Declares the standard classes; called by the registry itself.
void RegisterStandardClasses(ClassRegistry& registry);

}  // namespace zentra
