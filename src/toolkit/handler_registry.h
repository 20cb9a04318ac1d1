// Named event handlers of a window, so a window description can bind
// "OnClick = chkAnalogInputsClick" to the window's method of that name.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "toolkit/events.h"

namespace zentra {

using Handler = std::variant<NotifyEvent, MouseEvent, MouseMoveEvent, CloseEvent, KeyEvent>;

class HandlerRegistry {
 public:
  void Add(const std::string& name, Handler handler) { handlers_[name] = std::move(handler); }
  // Null when no handler of that name is registered.
  const Handler* Find(const std::string& name) const {
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, Handler> handlers_;
};

}  // namespace zentra
