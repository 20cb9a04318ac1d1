#include "winutil/page_index.h"

#include "toolkit/page_control.h"
#include "platform/silent_abort.h"

namespace zentra {

TTabSheet* PageByIndex(const TPageControl& pages, int index) {
  const std::vector<TTabSheet*> list = pages.Pages();
  if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
  return list[static_cast<std::size_t>(index)];
}

int IndexOfPage(const TPageControl& pages, const TTabSheet* page) {
  const std::vector<TTabSheet*> list = pages.Pages();
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == page && page != nullptr) return static_cast<int>(i);
  throw SilentAbort();
}

}  // namespace zentra
