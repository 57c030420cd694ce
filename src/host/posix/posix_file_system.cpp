#include "host/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

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

// Opening a pipe or a device could wait forever, so nothing else is read.
int OpenRegularFile(const std::string& path, uint64_t& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  const int error = ::fstat(fd, &info) != 0 ? errno : (S_ISREG(info.st_mode) ? 0 : EINVAL);
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  size = static_cast<uint64_t>(info.st_size);
  return fd;
}

bool ReadUpTo(int fd, uint64_t size, uint64_t maxBytes, ReadBuffer& buffer) {
  buffer.SetSize(0);
  if (size > maxBytes) {
    errno = EFBIG;
    return false;
  }
  // Room for the size the file has now and one byte more: a file that grows meanwhile still
  // reads whole, up to the limit, which one byte more than allowed reveals.
  const uint64_t readLimit = std::min<uint64_t>(maxBytes, SIZE_MAX - 1) + 1;
  buffer.Reserve(static_cast<size_t>(std::min<uint64_t>(size > 0 ? size + 1 : 65536, readLimit)));
  size_t filled = 0;
  for (;;) {
    if (filled == buffer.capacity()) {
      if (filled == readLimit) break;
      buffer.Reserve(
          static_cast<size_t>(std::min<uint64_t>(uint64_t{buffer.capacity()} * 2, readLimit)));
    }
    const ssize_t got = ::read(fd, buffer.data() + filled, buffer.capacity() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
    // Keeps what is read when the buffer grows.
    buffer.SetSize(filled);
  }
  if (filled > maxBytes) {
    buffer.SetSize(0);
    errno = EFBIG;
    return false;
  }
  buffer.SetSize(filled);
  return true;
}

// A regular file, or a link to one, whole into buffer.
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, ReadBuffer& buffer) {
  buffer.SetSize(0);
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, size);
  if (fd < 0) return false;
  const bool read = ReadUpTo(fd, size, maxBytes, buffer);
  const int error = errno;
  ::close(fd);
  errno = error;
  return read;
}

std::string RandomSuffix() {
  std::random_device random;
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(random()));
  return text;
}

// A new file in the target's folder under a name nobody could have planted beforehand;
// O_EXCL refuses any existing name, a link included. The name is short, so a target whose
// own name is near the system's limit can still be replaced.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = folder + ".rwtnew" + RandomSuffix();
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Demos can be large: copied in pieces, never held whole.
bool CopyAll(int input, int output) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(input, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(output, std::string_view(buffer.data(), static_cast<size_t>(got)))) {
      return false;
    }
  }
}

// Writes a new temporary file and renames it over path. rename() replaces the name itself:
// a link there is replaced, never written through. A failure removes only that temporary.
bool ReplaceThroughTemporary(const std::string& path, const std::function<bool(int)>& write) {
  std::string temporary;
  const int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) return false;
  const bool written = write(fd) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
  }
  return true;
}

}  // namespace

std::vector<DirectoryEntry> PosixFileSystem::List(const std::string& folder,
                                                  std::string_view pattern) {
  std::vector<DirectoryEntry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return entries;
  // Names relative to the open folder spare the system a walk of the whole path per entry.
  const int folderFd = ::dirfd(dir);
  while (const dirent* item = ::readdir(dir)) {
    const std::string_view name = item->d_name;
    if (name == "." || name == ".." || !MatchesWildcard(name, pattern)) continue;
    struct stat info {};
    if (::fstatat(folderFd, item->d_name, &info, 0) != 0) continue;
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) continue;
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

std::optional<std::vector<std::string>> PosixFileSystem::ListNames(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* item = ::readdir(dir)) {
    const std::string_view name = item->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const bool complete = errno == 0;
  ::closedir(dir);
  if (!complete) return std::nullopt;
  return names;
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

std::string PosixFileSystem::RealPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string real = resolved;
  std::free(resolved);
  return real;
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

std::optional<std::string> PosixFileSystem::ReadFileUpTo(const std::string& path,
                                                         uint64_t maxBytes) {
  ReadBuffer buffer;
  if (!ReadRegularFile(path, maxBytes, buffer)) return std::nullopt;
  return std::string(buffer.view());
}

bool PosixFileSystem::ReadFileInto(const std::string& path, uint64_t maxBytes, ReadBuffer& buffer) {
  return ReadRegularFile(path, maxBytes, buffer);
}

bool PosixFileSystem::WriteFileAtomic(const std::string& path, std::string_view bytes) {
  return ReplaceThroughTemporary(path, [bytes](int fd) { return WriteAll(fd, bytes); });
}

FileResult PosixFileSystem::CopyFile(const std::string& from, const std::string& to) {
  uint64_t size = 0;
  const int input = OpenRegularFile(from, size);
  if (input < 0) return FromErrno(errno);
  const bool copied =
      ReplaceThroughTemporary(to, [input](int output) { return CopyAll(input, output); });
  const int error = copied ? 0 : (errno != 0 ? errno : EIO);
  ::close(input);
  return FromErrno(error);
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

bool PosixFileSystem::HasTrash(const std::string& folder) {
  return trash_.FolderFor(folder).has_value();
}

FileResult PosixFileSystem::MoveToTrash(const std::string& path) {
  return trash_.Move(path);
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
