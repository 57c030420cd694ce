#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/file_system.h"
#include "host/message_pump.h"
#include "host/messages.h"
#include "host/posix/posix_file_system.h"

namespace rw {

class FakeClock : public Clock {
 public:
  uint32_t TickCount() override { return now; }
  void Sleep(uint32_t ms) override { now += ms; }
  uint32_t now = 1000;
};

class CountingPump : public MessagePump {
 public:
  void ServicePending() override {
    ++calls;
    if (onService) onService();
  }
  int calls = 0;
  std::function<void()> onService;
};

// Records every message box; answers questions from a queue (No when it is empty).
class FakeMessages : public Messages {
 public:
  struct Shown {
    std::string kind;  // "message", "ask" or "folder"
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::kNone;
    MessageButtons buttons = MessageButtons::kOk;
  };

  MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                     MessageButtons buttons) override;
  std::optional<std::string> Ask(std::string_view caption, std::string_view prompt,
                                 std::string_view preset) override;
  std::optional<std::string> ChooseFolder(std::string_view title, std::string_view explanation,
                                          const std::vector<FolderOffer>& offers,
                                          std::string_view root) override;

  std::vector<Shown> shown;
  // What the last folder chooser said and offered.
  std::string lastExplanation;
  std::vector<FolderOffer> lastOffers;
  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::string>> inputs;
};

// Real files (tests use temporary folders) with the host details a test can set: mounts,
// drive kinds, short names, hidden files, and failures of chosen operations. There is no
// trash unless a test gives one.
class FakeFileSystem : public PosixFileSystem {
 public:
  explicit FakeFileSystem(FreedesktopTrash trash = FreedesktopTrash::None())
      : PosixFileSystem(std::move(trash)) {}

  bool SetHidden(const std::string& path) override;
  std::string ShortPath(const std::string& path) override;
  std::string DriveOf(const std::string& path) override;
  DriveKind KindOfDrive(const std::string& root) override;
  bool IsDriveReadOnly(const std::string& root) override;
  bool WriteFileAtomic(const std::string& path, std::string_view bytes) override;
  FileResult Rename(const std::string& from, const std::string& to) override;
  FileResult MoveFile(const std::string& from, const std::string& to) override;
  FileResult MoveToTrash(const std::string& path) override;

  std::vector<std::string> hidden;
  std::map<std::string, std::string> shortPaths;
  std::vector<std::string> mounts;  // a path lies on the longest that holds it, else its own
  std::map<std::string, DriveKind> driveKinds;
  std::vector<std::string> readOnlyDrives;
  std::vector<std::string> failWrites;   // paths whose writes fail
  std::vector<std::string> failRenames;  // paths whose renames and moves (to the trash too) fail
};

}  // namespace rw
