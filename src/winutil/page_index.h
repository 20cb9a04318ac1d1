// Index look-ups on a page control, used when page controls are persisted.
#pragma once

namespace zentra {

class TPageControl;
class TTabSheet;

// The page at that index, or null when there is none.
TTabSheet* PageByIndex(const TPageControl& pages, int index);
// The index of that page; a page that is not among the control's pages ends
// the current operation with a silent abort.
int IndexOfPage(const TPageControl& pages, const TTabSheet* page);

}  // namespace zentra
