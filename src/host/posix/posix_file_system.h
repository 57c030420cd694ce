#pragma once

#include "host/file_system.h"
#include "host/posix/freedesktop_trash.h"

namespace rw {

// std::filesystem and POSIX: no hidden attribute, no short names; a drive is a mount, and
// every drive is fixed; the trash is the freedesktop.org one.
class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(FreedesktopTrash trash = FreedesktopTrash::OfUser())
      : trash_(std::move(trash)) {}

  std::vector<DirectoryEntry> List(const std::string& folder, std::string_view pattern) override;
  std::optional<std::vector<std::string>> ListNames(const std::string& folder) override;
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::optional<uint32_t> ModifiedDosTime(const std::string& path) override;
  bool SetModifiedDosTime(const std::string& path, uint32_t dosTime) override;
  bool SetHidden(const std::string& path) override;
  std::string ShortPath(const std::string& path) override;
  std::string RealPath(const std::string& path) override;
  std::string DriveOf(const std::string& path) override;
  DriveKind KindOfDrive(const std::string& root) override;
  bool IsDriveReadOnly(const std::string& root) override;
  std::optional<std::string> ReadFileUpTo(const std::string& path, uint64_t maxBytes) override;
  bool ReadFileInto(const std::string& path, uint64_t maxBytes, ReadBuffer& buffer) override;
  bool WriteFileAtomic(const std::string& path, std::string_view bytes) override;
  FileResult CopyFile(const std::string& from, const std::string& to) override;
  FileResult MoveFile(const std::string& from, const std::string& to) override;
  FileResult Rename(const std::string& from, const std::string& to) override;
  FileResult DeleteFile(const std::string& path) override;
  bool HasTrash(const std::string& folder) override;
  FileResult MoveToTrash(const std::string& path) override;
  FileResult CreateFolder(const std::string& path) override;
  FileResult RemoveFolder(const std::string& path) override;

 private:
  FreedesktopTrash trash_;
};

}  // namespace rw
