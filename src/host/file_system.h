#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/read_buffer.h"

namespace rw {

// One entry of a folder listing.
struct DirectoryEntry {
  std::string name;
  uint64_t size = 0;
  uint32_t dosTime = 0;  // last write, local time, MS-DOS packed (date high, time low)
  bool isFolder = false;
  bool hidden = false;
};

enum class DriveKind { kUnknown, kRemovable, kFixed, kNetwork, kCdRom, kRamDisk };

// The outcome of a file operation: kOk, or why it failed with the system's error number
// (kNoTrash: the file's file system has no trash to move it to).
struct FileResult {
  enum Kind { kOk, kExists, kNotFound, kNoTrash, kOther };
  Kind kind = kOk;
  int error = 0;
  bool ok() const { return kind == kOk; }
};

// What std::filesystem does not give portably: MS-DOS times, the hidden attribute, short
// names, drive kinds, and file operations that report the system's error numbers.
// Paths are host paths as bytes.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Entries of folder whose names match pattern ("*" any run, "?" one character, case
  // ignored; "*.*" matches every name); "." and ".." are left out, and so is anything that
  // is neither a folder nor a regular file (pipes, sockets, devices). Empty when unreadable.
  virtual std::vector<DirectoryEntry> List(const std::string& folder, std::string_view pattern) = 0;
  // Every name in folder but "." and "..", whatever it names, without looking at the
  // entries; nullopt when the folder cannot be read whole.
  virtual std::optional<std::vector<std::string>> ListNames(const std::string& folder) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  virtual std::optional<uint32_t> ModifiedDosTime(const std::string& path) = 0;
  virtual bool SetModifiedDosTime(const std::string& path, uint32_t dosTime) = 0;
  // Hosts without the attribute succeed without doing anything.
  virtual bool SetHidden(const std::string& path) = 0;
  // The 8.3 form of a path; hosts without short names give the path itself.
  virtual std::string ShortPath(const std::string& path) = 0;
  // The path with every link resolved, as the system names a running program's file; the path
  // itself when it cannot be resolved.
  virtual std::string RealPath(const std::string& path) = 0;
  // The root of the drive that holds path, as KindOfDrive and IsDriveReadOnly take it: the
  // drive root on Windows, the mount point of the file system path lies on under Linux. Empty
  // when nothing of path can be found.
  virtual std::string DriveOf(const std::string& path) = 0;
  virtual DriveKind KindOfDrive(const std::string& root) = 0;
  virtual bool IsDriveReadOnly(const std::string& root) = 0;
  // The whole file when it is a regular file, or a link to one, of at most maxBytes bytes.
  // Opening never waits: a pipe or a device gives nothing.
  virtual std::optional<std::string> ReadFileUpTo(const std::string& path, uint64_t maxBytes) = 0;
  std::optional<std::string> ReadFile(const std::string& path) {
    return ReadFileUpTo(path, UINT64_MAX);
  }
  // The same into buffer, whose size becomes the file's; false (size 0) when ReadFileUpTo
  // gives nothing. Hosts that can read straight into the buffer spare the copy.
  virtual bool ReadFileInto(const std::string& path, uint64_t maxBytes, ReadBuffer& buffer) {
    buffer.SetSize(0);
    const std::optional<std::string> bytes = ReadFileUpTo(path, maxBytes);
    if (!bytes) return false;
    buffer.Reserve(bytes->size());
    if (!bytes->empty()) std::memcpy(buffer.data(), bytes->data(), bytes->size());
    buffer.SetSize(bytes->size());
    return true;
  }
  // Replaces the file through a new temporary file beside it, so a failure keeps the old
  // file and a link planted under any name the write uses is never written through.
  virtual bool WriteFileAtomic(const std::string& path, std::string_view bytes) = 0;
  virtual FileResult CopyFile(const std::string& from, const std::string& to) = 0;  // overwrites
  virtual FileResult MoveFile(const std::string& from,
                              const std::string& to) = 0;  // kExists if to exists
  virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
  virtual FileResult DeleteFile(const std::string& path) = 0;
  // The desktop's trash, where a user can restore a file from: whether files in folder go to
  // one, and moving a file there.
  virtual bool HasTrash(const std::string& folder) = 0;
  virtual FileResult MoveToTrash(const std::string& path) = 0;
  virtual FileResult CreateFolder(const std::string& path) = 0;
  virtual FileResult RemoveFolder(const std::string& path) = 0;  // empty folders only
};

// Whether name matches a wildcard pattern the way the file system's listing does.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace rw
