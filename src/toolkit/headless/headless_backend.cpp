#include "toolkit/headless/headless_backend.h"

#include <chrono>
#include <stdexcept>

#include "toolkit/form.h"

namespace zentra {

// --- peer ---------------------------------------------------------------------

HeadlessPeer::HeadlessPeer(HeadlessBackend& backend, Control& control, WinHandle handle)
    : backend_(backend), control_(control), handle_(handle) {
  if (handle_ != 0) backend_.RegisterWindow(handle_, &control);
  if (TForm* form = control.AsForm()) backend_.RegisterForm(handle_, form);
}

HeadlessPeer::~HeadlessPeer() {
  if (handle_ != 0) backend_.UnregisterWindow(handle_);
}

void HeadlessPeer::Changed(Change what) { ++changes_[static_cast<std::size_t>(what)]; }

int HeadlessPeer::ChangeCount(Change what) const { return changes_[static_cast<std::size_t>(what)]; }

void HeadlessPeer::Invalidate(const Rect& rect) { backend_.RecordInvalidation(control_, rect); }

void HeadlessPeer::DefaultHandler(Message& message) {
  backend_.lastDefault_ = message;
  // The platform's default for the close command and WM_CLOSE is a close request.
  constexpr std::uint32_t SC_CLOSE = 0xF060;
  if (TForm* form = control_.AsForm()) {
    if (message.msg == WM_CLOSE || (message.msg == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE))
      form->Close();
  }
}

// --- backend ------------------------------------------------------------------

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<ControlPeer> HeadlessBackend::CreatePeer(Control& control) {
  WinHandle handle = control.IsWindowed() ? NewHandle() : 0;
  return std::make_unique<HeadlessPeer>(*this, control, handle);
}

void HeadlessBackend::RegisterForm(WinHandle handle, TForm* form) {
  std::lock_guard<std::mutex> lock(mutex_);
  forms_[handle] = form;
}

void HeadlessBackend::RegisterWindow(WinHandle handle, Control* control) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_[handle] = control;
}

void HeadlessBackend::UnregisterWindow(WinHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_.erase(handle);
  forms_.erase(handle);
  invalidations_.erase(handle);
}

TForm* HeadlessBackend::FormOf(WinHandle window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = forms_.find(window);
  return it == forms_.end() ? nullptr : it->second;
}

std::size_t HeadlessBackend::PendingMessages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

bool HeadlessBackend::PostMessage(WinHandle window, std::uint32_t msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (windows_.find(window) == windows_.end()) return false;
    queue_.push_back({window, Message{msg, wParam, lParam, 0}});
  }
  posted_.notify_one();
  return true;
}

bool HeadlessBackend::HandleMessage(bool wait) {
  Posted item;
  Control* target = nullptr;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (queue_.empty() && wait) {
      // Only another thread can post now; never wait forever in a test.
      posted_.wait_for(lock, std::chrono::milliseconds(200), [this] { return !queue_.empty(); });
    }
    if (queue_.empty()) return false;
    item = queue_.front();
    queue_.pop_front();
    auto it = windows_.find(item.window);
    if (it != windows_.end()) target = it->second;
  }
  // As on the platform, a quit message is taken from the queue but reaches
  // no window; a message for a window destroyed meanwhile is dropped.
  if (item.message.msg == WM_QUIT) target = nullptr;
  if (target != nullptr) target->DispatchMessage(item.message);
  return true;
}

void HeadlessBackend::RunModalLoop(TForm& form) {
  modalLog_.push_back(form.Name());
  if (modalHandler_) {
    auto handler = modalHandler_;
    handler(form);
  }
  while (!form.ModalLoopDone()) {
    if (!HandleMessage(false)) {
      throw std::logic_error("Headless: modal window '" + form.Name() +
                             "' has no modal result and no message is queued");
    }
  }
}

Size HeadlessBackend::FrameExtent(const TForm& form) const {
  // Classic window metrics: 4-pixel sizing frame, 3-pixel dialog frame,
  // 18-pixel caption (14 for tool windows) plus its 1-pixel line.
  switch (form.GetBorderStyle()) {
    case BorderStyle::None: return {0, 0};
    case BorderStyle::Sizeable: return {8, 27};
    case BorderStyle::SizeToolWin: return {8, 23};
    case BorderStyle::ToolWindow: return {6, 21};
    case BorderStyle::Single:
    case BorderStyle::Dialog:
    default: return {6, 25};
  }
}

std::uintptr_t HeadlessBackend::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
  if (intervalMs == 0 || !onTick) return 0;
  std::uintptr_t id = ++nextTimer_;
  timers_[id] = Timer{intervalMs, now_ + intervalMs, std::move(onTick)};
  return id;
}

void HeadlessBackend::StopTimer(std::uintptr_t id) { timers_.erase(id); }

void HeadlessBackend::AdvanceClock(std::uint64_t ms) {
  const std::uint64_t end = now_ + ms;
  for (;;) {
    // Earliest due timer (ties: the one started first).
    std::uintptr_t next = 0;
    std::uint64_t due = end + 1;
    for (const auto& [id, timer] : timers_) {
      if (timer.due < due) {
        due = timer.due;
        next = id;
      }
    }
    if (next == 0 || due > end) break;
    now_ = due;
    Timer& timer = timers_[next];
    timer.due += timer.interval;
    auto tick = timer.onTick;  // the tick may stop or restart its own timer
    tick();
    while (HandleMessage(false)) {
    }
  }
  now_ = end;
  while (HandleMessage(false)) {
  }
}

void HeadlessBackend::RecordInvalidation(const Control& control, const Rect& rect) {
  // Translate into the form's client coordinates.
  Rect r = rect;
  const Control* c = &control;
  while (c != nullptr && !c->IsTopLevel()) {
    r.left += c->Left();
    r.right += c->Left();
    r.top += c->Top();
    r.bottom += c->Top();
    c = c->Parent();
  }
  if (c == nullptr) return;
  WinHandle form = c->Peer() != nullptr ? c->Peer()->Handle() : 0;
  if (form == 0) return;
  invalidations_[form].push_back({&control, r});
}

const std::vector<HeadlessBackend::Invalidation>& HeadlessBackend::Invalidations(
    WinHandle form) const {
  static const std::vector<Invalidation> none;
  auto it = invalidations_.find(form);
  return it == invalidations_.end() ? none : it->second;
}

}  // namespace zentra
