#pragma once
#include "platform/inet/internet.h"

namespace lexomir::platform {

// Closes an internet handle when it goes, so every path out of an exchange releases what it opened. A
// caller that must close handles in a set order closes them itself; close() is then a no-op here.
class ScopedInternetHandle {
 public:
  ScopedInternetHandle(Internet& internet, InternetHandle handle) : internet_(internet), handle_(handle) {}
  ScopedInternetHandle(const ScopedInternetHandle&) = delete;
  ScopedInternetHandle& operator=(const ScopedInternetHandle&) = delete;
  ~ScopedInternetHandle() { close(); }

  InternetHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != kNoHandle; }
  void close() {
    if (handle_ != kNoHandle) internet_.close_handle(handle_);
    handle_ = kNoHandle;
  }

 private:
  Internet& internet_;
  InternetHandle handle_;
};

}  // namespace lexomir::platform
