#pragma once

#include <string>

namespace rw {

// Program-wide state shared by the windows and the long operations: the busy count keeps
// loops that serve window messages from being re-entered, Escape sets the escape flag.
class AppState {
 public:
  int busyCount() const { return busyCount_; }
  bool isBusy() const { return busyCount_ > 0; }
  void RaiseBusy() { ++busyCount_; }
  // Never below zero: an operation ending while the count is 0 leaves it at 0.
  void LowerBusy() {
    if (busyCount_ > 0) --busyCount_;
  }
  void ResetBusy() { busyCount_ = 0; }

  bool escapeFlag() const { return escapeFlag_; }
  void SetEscape() { escapeFlag_ = true; }
  void ClearEscape() { escapeFlag_ = false; }

  const std::string& currentFolder() const { return currentFolder_; }
  void SetCurrentFolder(std::string folder) { currentFolder_ = std::move(folder); }

 private:
  int busyCount_ = 0;
  bool escapeFlag_ = false;
  std::string currentFolder_;
};

}  // namespace rw
