// Event types. Events are std::functions; a window binds them by handler
// name through its handler registry (see handler_registry.h).
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/types.h"

namespace zentra {

class Component;

using NotifyEvent = std::function<void(Component* sender)>;
using MouseEvent =
    std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, ShiftState shift, int x, int y)>;
using CloseEvent = std::function<void(Component* sender, CloseAction& action)>;
using KeyEvent = std::function<void(Component* sender, std::uint16_t& key, ShiftState shift)>;
using MessageHandler = std::function<void(Message& message)>;

}  // namespace zentra
