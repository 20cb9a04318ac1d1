#include "toolkit/loader.h"

#include "resources/embedded_resources.h"
#include "toolkit/form.h"

namespace zentra {

void LoadWindowDescription(TForm& form, const std::string& fileName) {
  const EmbeddedResource* resource = FindEmbeddedResource(fileName.c_str());
  if (resource == nullptr) throw DescriptionError(fileName, 0, "window description not found");
  LoadWindowDescriptionText(form, fileName, std::string(resource->text, resource->size));
}

void LoadWindowDescriptionText(TForm& form, const std::string& fileName, const std::string& text) {
  throw DescriptionError(fileName, 1, "loader not implemented yet");
}

}  // namespace zentra
