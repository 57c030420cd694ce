#include "host/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "host/dos_time.h"
#include "host/posix/mount_table.h"

namespace rw {
namespace {

FileResult FromErrno(int error) {
  if (error == 0) return {};
  if (error == EEXIST || error == ENOTEMPTY) return {FileResult::kExists, error};
  if (error == ENOENT || error == ENOTDIR) return {FileResult::kNotFound, error};
  return {FileResult::kOther, error};
}

uint32_t DosTimeOf(time_t seconds) {
  struct tm local {};
  localtime_r(&seconds, &local);
  return ToDosTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec});
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::vector<DirectoryEntry> PosixFileSystem::List(const std::string& folder,
                                                  std::string_view pattern) {
  std::vector<DirectoryEntry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == ".." || !MatchesWildcard(name, pattern)) continue;
    struct stat info {};
    if (::stat((folder + "/" + name).c_str(), &info) != 0) continue;
    DirectoryEntry entry;
    entry.name = name;
    entry.isFolder = S_ISDIR(info.st_mode);
    entry.size = entry.isFolder ? 0 : static_cast<uint64_t>(info.st_size);
    entry.dosTime = DosTimeOf(info.st_mtime);
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  return entries;
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool PosixFileSystem::IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<uint32_t> PosixFileSystem::ModifiedDosTime(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return DosTimeOf(info.st_mtime);
}

bool PosixFileSystem::SetModifiedDosTime(const std::string& path, uint32_t dosTime) {
  const LocalDateTime v = FromDosTime(dosTime);
  struct tm local {};
  local.tm_year = v.year - 1900;
  local.tm_mon = v.month - 1;
  local.tm_mday = v.day;
  local.tm_hour = v.hour;
  local.tm_min = v.minute;
  local.tm_sec = v.second;
  local.tm_isdst = -1;
  const time_t seconds = std::mktime(&local);
  if (seconds == static_cast<time_t>(-1)) return false;
  const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool PosixFileSystem::SetHidden(const std::string& path) {
  return Exists(path);
}

std::string PosixFileSystem::ShortPath(const std::string& path) {
  return path;
}

std::string PosixFileSystem::DriveOf(const std::string& path) {
  return MountPointOf(path);
}

DriveKind PosixFileSystem::KindOfDrive(const std::string& root) {
  return Exists(root) ? DriveKind::kFixed : DriveKind::kUnknown;
}

bool PosixFileSystem::IsDriveReadOnly(const std::string& root) {
  struct statvfs info {};
  if (::statvfs(root.c_str(), &info) != 0) return true;
  return (info.f_flag & ST_RDONLY) != 0;
}

std::optional<std::string> PosixFileSystem::ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // One allocation of the size the file has now; a file that grows meanwhile still reads whole.
  struct stat info {};
  size_t capacity = 65536;
  if (::fstat(fd, &info) == 0 && info.st_size > 0) capacity = static_cast<size_t>(info.st_size) + 1;
  std::string bytes(capacity, '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  ::close(fd);
  bytes.resize(filled);
  return bytes;
}

bool PosixFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string temporary = path + ".rwtnew";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

FileResult PosixFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = ReadFile(from);
  if (!bytes) return FromErrno(errno != 0 ? errno : EIO);
  if (!WriteFileAtomic(to, *bytes)) return FromErrno(errno != 0 ? errno : EIO);
  return {};
}

FileResult PosixFileSystem::MoveFile(const std::string& from, const std::string& to) {
  // link() refuses an existing target where rename() would replace it.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) != 0) {
      const int error = errno;
      ::unlink(to.c_str());
      return FromErrno(error);
    }
    return {};
  }
  if (errno == EEXIST) return FromErrno(EEXIST);
  if (errno != EXDEV && errno != EPERM) return FromErrno(errno);
  if (Exists(to)) return FromErrno(EEXIST);
  const FileResult copied = CopyFile(from, to);
  if (!copied.ok()) return copied;
  if (::unlink(from.c_str()) != 0) {
    const int error = errno;
    ::unlink(to.c_str());
    return FromErrno(error);
  }
  return {};
}

FileResult PosixFileSystem::Rename(const std::string& from, const std::string& to) {
  // Like the Windows rename, an existing target is an error, not replaced.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return FromErrno(errno);
    if (Exists(to)) return FromErrno(EEXIST);
    if (::rename(from.c_str(), to.c_str()) != 0) return FromErrno(errno);
  }
  return {};
}

FileResult PosixFileSystem::DeleteFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return FromErrno(errno);
  return {};
}

FileResult PosixFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) != 0) return FromErrno(errno);
  return {};
}

FileResult PosixFileSystem::RemoveFolder(const std::string& path) {
  if (::rmdir(path.c_str()) != 0) return FromErrno(errno);
  return {};
}

}  // namespace rw
