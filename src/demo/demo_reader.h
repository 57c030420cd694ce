#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "archive/extractor.h"
#include "demo/demo_read_state.h"
#include "host/file_system.h"
#include "host/locale.h"
#include "host/messages.h"
#include "host/read_buffer.h"

namespace rw {

struct ReadSession;

// The demo reader: loads one demo at a time, walks it and leaves what it learnt in its one
// DemoReadState until the next read. The program keeps one; tests make their own.
class DemoReader {
 public:
  // Archive members are extracted by the program's extractor.
  DemoReader(Messages& messages, const Locale& locale, FileSystem& files, Extractor& extractor);
  // With an extractor of its own that serves no window messages (command line, tests).
  DemoReader(Messages& messages, const Locale& locale, FileSystem& files);
  ~DemoReader();

  // Real demos are far smaller (an hour of play is tens of MiB); a file or member above this
  // reads as unreadable instead of taking that much memory.
  static constexpr uint64_t kDemoSizeLimit = uint64_t{256} << 20;

  // Reads the demo file demoName, or with a non-empty archivePath the member demoName
  // ("\"-separated) of that archive. With buildLog the match log gets the time-stamped event
  // lines too. "1" when both the server info and the system info were found, else "0".
  std::string GetFromDemo(const std::string& demoName, const std::string& archivePath,
                          bool buildLog);

  // Whether the last read could not get the memory for the demo (after its message box);
  // the owner of the busy count then ends the busy state.
  bool RanOutOfMemory() const { return ranOutOfMemory_; }

  const DemoReadState& State() const { return state_; }
  DemoReadState& State() { return state_; }
  void Reset() { state_ = DemoReadState(); }

 private:
  // The demo's bytes (in buffer_), or nothing when it could not be loaded; size is the file's
  // or the member's size also then.
  struct Loaded {
    std::string_view bytes;
    uint64_t size = 0;
  };
  struct OwnExtractor;

  Loaded LoadFile(const std::string& path);
  Loaded LoadMember(const std::string& archivePath, const std::string& memberName);
  void ReportMemoryError();
  std::string Finish(ReadSession& session);

  Messages& messages_;
  const Locale& locale_;
  FileSystem& files_;
  std::unique_ptr<OwnExtractor> ownExtractor_;
  Extractor& extractor_;
  DemoReadState state_;
  // Holds each demo in turn, so that reading many allocates only for the largest.
  ReadBuffer buffer_;
  bool ranOutOfMemory_ = false;
};

}  // namespace rw
