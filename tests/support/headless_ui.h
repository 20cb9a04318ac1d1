// A fresh headless user interface for one test: the headless widget
// backend, a recording message-box service and the driver that acts as the
// user. Forms made in the test must be freed before this object goes.
#pragma once

#include <memory>

#include "platform/host/host_user_api.h"
#include "toolkit/application.h"
#include "toolkit/component.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/headless/headless_driver.h"

namespace zentra::testing {

template <class T>
using Owned = std::unique_ptr<T, ComponentDeleter>;

class HeadlessUi {
 public:
  HeadlessUi() {
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    Application& app = Application::Instance();
    app.SetBackend(std::move(backend));
    app.SetUserApi(&user_);
    app.SetTitle("Zentra");
    app.ResetTerminated();
    app.OnActivate = nullptr;
    app.OnDeactivate = nullptr;
    driver_ = std::make_unique<HeadlessDriver>(*backend_);
  }
  ~HeadlessUi() {
    Application& app = Application::Instance();
    app.SetBackend(nullptr);
    app.SetUserApi(nullptr);
  }
  HeadlessUi(const HeadlessUi&) = delete;
  HeadlessUi& operator=(const HeadlessUi&) = delete;

  HeadlessBackend& Backend() { return *backend_; }
  HostUserApi& User() { return user_; }
  HeadlessDriver& Driver() { return *driver_; }

 private:
  HostUserApi user_;
  HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<HeadlessDriver> driver_;
};

}  // namespace zentra::testing
