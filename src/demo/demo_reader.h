#pragma once

#include <cstdint>
#include <string>

#include "demo/demo_read_state.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "host/messages.h"
#include "model/app_state.h"

namespace rw {

struct ReadSession;

// The demo reader: loads one demo at a time, walks it and leaves what it learnt in its one
// DemoReadState until the next read. The program keeps one; tests make their own.
class DemoReader {
 public:
  DemoReader(Messages& messages, const Locale& locale, AppState& appState, FileSystem& files);

  // Reads the demo file demoName, or with a non-empty archivePath the member demoName
  // ("\"-separated) of that archive. With buildLog the match log gets the time-stamped event
  // lines too. "1" when both the server info and the system info were found, else "0".
  std::string GetFromDemo(const std::string& demoName, const std::string& archivePath,
                          bool buildLog);

  const DemoReadState& State() const { return state_; }
  DemoReadState& State() { return state_; }
  void Reset() { state_ = DemoReadState(); }

 private:
  // The demo's bytes, or nothing when it could not be loaded.
  struct Loaded {
    std::string bytes;
    uint64_t size = 0;
  };

  Loaded LoadFile(const std::string& path);
  Loaded LoadMember(const std::string& archivePath, const std::string& memberName);
  void ReportMemoryError();
  std::string Finish(ReadSession& session);

  Messages& messages_;
  const Locale& locale_;
  AppState& appState_;
  FileSystem& files_;
  DemoReadState state_;
};

}  // namespace rw
