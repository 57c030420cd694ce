#pragma once

#include <string>

#include "archive/archive_cursor.h"
#include "demo/demo_reader.h"
#include "host/file_system.h"
#include "host/messages.h"
#include "library/scan_sources.h"
#include "model/app_state.h"

namespace rw {

// The scan's sources as the program has them: the archive reader, the one demo reader and the
// user data files.
class ReaderScanSources : public ScanSources {
 public:
  // A demo too large for memory ends the busy state of appState.
  ReaderScanSources(DemoReader& reader, FileSystem& files, Messages& messages, AppState& appState)
      : reader_(reader), files_(files), messages_(messages), appState_(appState) {}

  bool IsArchiveFile(const std::string& path) override;
  int ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                       ScanMember& member) override;
  int ArchiveFindNext(const std::string& pattern, ScanMember& member) override;
  void ArchiveClose() override;
  ListRow ReadDemo(const std::string& path, const std::string& archive) override;
  std::optional<std::string> PlayersOfLastRead() override;
  UserInfo GetUserInfo(const std::string& path) override;
  // A demo reader of its own, with its own extractor, which serves no window messages.
  std::unique_ptr<WorkerReader> NewWorkerReader() override;
  void Settle(const DemoRead& read) override;

 private:
  DemoReader& reader_;
  FileSystem& files_;
  Messages& messages_;
  AppState& appState_;
  ArchiveCursor cursor_;
};

}  // namespace rw
