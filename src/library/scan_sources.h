#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/demo_row.h"
#include "library/recorded_messages.h"
#include "model/row_sink.h"

namespace rw {

// One archive member as the directory walk gives it.
struct ScanMember {
  std::string path;  // inside the archive, "\\"-separated
  uint32_t size = 0;
  uint32_t dosTime = 0;
};

// One demo read away from the scan's thread: its summary and what the read would have done
// there, to be done on that thread in the order of the demos.
struct DemoRead {
  ListRow summary;
  std::vector<RecordedMessages::Message> messages;
  bool ranOutOfMemory = false;
  // The players' names, colour codes removed, one a line; nullopt when not known.
  std::optional<std::string> players;
};

// A demo reader for one worker thread of a scan, sharing nothing with the scan's thread or the
// other workers.
class WorkerReader {
 public:
  virtual ~WorkerReader() = default;
  virtual DemoRead Read(const std::string& path, const std::string& archive) = 0;
};

// What the folder scan needs from the archive reader, the demo reader and the user data.
// Walk results are the archive reader's codes: 0 a member is loaded, anything else ends it.
class ScanSources {
 public:
  virtual ~ScanSources() = default;
  virtual bool IsArchiveFile(const std::string& path) = 0;
  virtual int ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                               ScanMember& member) = 0;
  virtual int ArchiveFindNext(const std::string& pattern, ScanMember& member) = 0;
  virtual void ArchiveClose() = 0;
  // Reads one demo (a member of archive when archive is not empty, without the match log)
  // and gives its summary; the scan stores columns 4 to 20.
  virtual ListRow ReadDemo(const std::string& path, const std::string& archive) = 0;
  // The players' names of the demo ReadDemo read last, colour codes removed, one a line;
  // nullopt when the sources do not know them.
  virtual std::optional<std::string> PlayersOfLastRead() { return std::nullopt; }
  virtual UserInfo GetUserInfo(const std::string& path) = 0;
  // A reader for a worker thread; nullptr when demos are read on the scan's thread only.
  virtual std::unique_ptr<WorkerReader> NewWorkerReader() { return nullptr; }
  // On the scan's thread, in the order of the demos: shows the message boxes of a worker's read
  // and ends the busy state when it ran out of memory, as reading there would have.
  virtual void Settle(const DemoRead&) {}
};

}  // namespace rw
