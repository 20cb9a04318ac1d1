#include "toolkit/loader.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "resources/embedded_resources.h"
#include "toolkit/class_registry.h"
#include "toolkit/description_parser.h"
#include "toolkit/form.h"

namespace zentra {
namespace {

class Loader {
 public:
  explicit Loader(TForm& form) : form_(form), ctx_(form) {}

  void Load(const ObjectNode& root) {
    const ClassInfo* info = ClassRegistry::Instance().Find(form_.ClassName());
    if (info == nullptr) info = ClassRegistry::Instance().Find("TForm");
    if (root.className != form_.ClassName())
      Fail(root, root.line, "the window is a " + std::string(form_.ClassName()) + ", not a " + root.className);
    form_.SetName(root.name);
    form_.BeginLoading();
    loading_.push_back(&form_);
    ApplyProperties(form_, *info, root);
    for (const ObjectNode& child : root.children) CreateObject(child, &form_);

    for (auto& fixup : ctx_.Fixups()) {
      try {
        fixup.run();
      } catch (const PropertyError& e) {
        throw DescriptionError(fixup.file, fixup.line, e.what());
      }
    }
    for (auto& field : form_.Fields())
      if (!field.bound) Fail(root, root.line, "the window needs a component named " + field.name);
    // After-loading notification, in creation order.
    for (Component* c : loading_) c->EndLoading();
  }

 private:
  // A fault at a line of the file the node was written in (the window's own
  // description or one it includes).
  [[noreturn]] static void Fail(const ObjectNode& node, int line, const std::string& what) {
    throw DescriptionError(node.file, line, what);
  }

  // Properties take effect in the order the class declares them (inherited
  // ones first), whatever order the file lists them in: a bilingual caption
  // then always lands after the plain caption it replaces.
  void ApplyProperties(Component& component, const ClassInfo& info, const ObjectNode& node) {
    // Ordered by insertion (stable: equal ranks keep the file's order) in
    // one buffer the loader keeps for the whole window: a window reads
    // hundreds of objects, and a fresh vector and a sort buffer for each
    // were a tenth of the allocations of opening it.
    ordered_.clear();
    for (const PropertyNode& p : node.properties) {
      const ClassInfo::RankedProperty found = info.FindRankedProperty(p.name);
      if (found.def == nullptr) Fail(node, p.line, "unknown property " + p.name + " of " + info.Name());
      ordered_.push_back({&p, found});
      for (std::size_t at = ordered_.size() - 1; at > 0 && ordered_[at - 1].found.rank > found.rank; --at)
        std::swap(ordered_[at], ordered_[at - 1]);
    }
    for (const Ordered& entry : ordered_) {
      const PropertyNode& p = *entry.node;
      ctx_.SetPlace(node.file, p.line);
      try {
        entry.found.def->set(component, p.value, ctx_);
      } catch (const DescriptionError&) {
        throw;
      } catch (const std::exception& e) {
        Fail(node, p.line, p.name + ": " + e.what());
      }
    }
  }

  void CreateObject(const ObjectNode& node, Component* enclosing) {
    const ClassInfo* info = ClassRegistry::Instance().Find(node.className);
    if (info == nullptr) Fail(node, node.line, "unknown class " + node.className);
    if (form_.FindComponent(node.name) != nullptr || node.name == form_.Name())
      Fail(node, node.line, "duplicate component name " + node.name);
    Component* component = nullptr;
    try {
      component = info->Create(&form_);
    } catch (const std::exception& e) {
      Fail(node, node.line, e.what());
    }
    component->SetName(node.name);
    component->BeginLoading();
    loading_.push_back(component);

    if (auto* control = dynamic_cast<Control*>(component)) {
      auto* parent = dynamic_cast<Control*>(enclosing);
      if (parent == nullptr || !parent->AcceptsChildren())
        Fail(node, node.line, node.name + " cannot be placed in " + enclosing->Name());
      control->SetParent(parent);
    }
    for (auto& field : form_.Fields()) {
      if (field.name != node.name) continue;
      if (!field.assign(component))
        Fail(node, node.line, node.name + " is a " + node.className + ", which the window cannot use there");
      field.bound = true;
    }
    ApplyProperties(*component, *info, node);
    for (const ObjectNode& child : node.children) CreateObject(child, component);
  }

  // A property of the object being read, with its declaration's rank.
  struct Ordered {
    const PropertyNode* node;
    ClassInfo::RankedProperty found;
  };

  TForm& form_;
  LoadContext ctx_;
  std::vector<Component*> loading_;
  std::vector<Ordered> ordered_;
};

}  // namespace

const DescriptionSource& EmbeddedDescriptions() {
  static const DescriptionSource embedded = [](const std::string& fileName) -> std::optional<std::string> {
    const EmbeddedResource* resource = FindEmbeddedResource(fileName.c_str());
    if (resource == nullptr) return std::nullopt;
    return std::string(resource->text, resource->size);
  };
  return embedded;
}

namespace {

// The embedded descriptions never change while the program runs, so each
// (file, parameters) is parsed once; a window opened again is built from
// the tree read the first time. A faulty description is not kept.
const ObjectNode& ParsedEmbeddedDescription(const std::string& fileName,
                                            const DescriptionParameters* parameters) {
  static std::map<std::pair<std::string, DescriptionParameters>, ObjectNode> parsed;
  std::pair<std::string, DescriptionParameters> key{fileName, parameters ? *parameters : DescriptionParameters{}};
  if (auto it = parsed.find(key); it != parsed.end()) return it->second;
  const EmbeddedResource* resource = FindEmbeddedResource(fileName.c_str());
  if (resource == nullptr) throw DescriptionError(fileName, 0, "window description not found");
  std::string text(resource->text, resource->size);
  if (parameters != nullptr) text = ExpandDescriptionParameters(fileName, text, *parameters);
  ObjectNode root = ParseDescription(fileName, text, EmbeddedDescriptions());
  return parsed.emplace(std::move(key), std::move(root)).first->second;
}

void LoadParsed(TForm& form, const ObjectNode& root) {
  Loader loader(form);
  loader.Load(root);
}

}  // namespace

void LoadWindowDescription(TForm& form, const std::string& fileName) {
  LoadParsed(form, ParsedEmbeddedDescription(fileName, nullptr));
}

void LoadWindowDescription(TForm& form, const std::string& fileName, const DescriptionParameters& parameters) {
  LoadParsed(form, ParsedEmbeddedDescription(fileName, &parameters));
}

void LoadWindowDescriptionText(TForm& form, const std::string& fileName, const std::string& text,
                               const DescriptionSource& source) {
  LoadParsed(form, ParseDescription(fileName, text, source));
}

}  // namespace zentra
