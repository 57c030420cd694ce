#pragma once

#include <cstdint>
#include <string>

#include "library/demo_row.h"
#include "model/row_sink.h"

namespace rw {

// One archive member as the directory walk gives it.
struct ScanMember {
  std::string path;  // inside the archive, "\\"-separated
  uint32_t size = 0;
  uint32_t dosTime = 0;
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
  virtual UserInfo GetUserInfo(const std::string& path) = 0;
};

}  // namespace rw
