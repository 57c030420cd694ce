#include "host/posix/freedesktop_trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "host/posix/mount_table.h"

namespace rw {
namespace {

FileResult Failure(int error) {
  if (error == ENOENT || error == ENOTDIR) return {FileResult::kNotFound, error};
  return {FileResult::kOther, error};
}

// A folder the user owns that is no link (a trash made by someone else is no one's to use).
bool IsOwnFolder(const std::string& path, uid_t user) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == user;
}

bool MakeFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

// The folder and its missing parents.
bool MakeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return !error && std::filesystem::is_directory(path, error);
}

bool HasTrashParts(const std::string& trash, uid_t user) {
  for (const char* part : {"/files", "/info"}) {
    const std::string path = trash + part;
    if (!MakeFolder(path) || !IsOwnFolder(path, user)) return false;
  }
  return true;
}

int OpenFolder(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The "Path" key's value: every byte but the unreserved ones and "/" as %XX.
std::string Escaped(std::string_view path) {
  std::string out;
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
        std::string_view("-_.~/").find(c) != std::string_view::npos) {
      out += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", b);
      out += hex;
    }
  }
  return out;
}

std::string DeletionDate() {
  const time_t now = std::time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

// "final.dm_48" is tried as "final.dm_48", then "final.2.dm_48", "final.3.dm_48", ...
std::string NameInTrash(const std::string& name, int attempt) {
  if (attempt == 1) return name;
  const size_t dot = name.rfind('.');
  const size_t split = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, split) + "." + std::to_string(attempt) + name.substr(split);
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

int RenameWithoutReplacing(const std::string& from, int folder, const std::string& name) {
  if (::renameat2(AT_FDCWD, from.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // The name was checked free just before.
  return ::renameat(AT_FDCWD, from.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FreedesktopTrash::FreedesktopTrash(std::string homeTrash, bool otherMounts, uid_t user)
    : homeTrash_(std::move(homeTrash)), otherMounts_(otherMounts), user_(user) {}

FreedesktopTrash FreedesktopTrash::OfUser() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  std::string base;
  if (data != nullptr && data[0] == '/') {
    base = data;
  } else if (home != nullptr && home[0] == '/') {
    base = std::string(home) + "/.local/share";
  }
  return {base.empty() ? std::string() : base + "/Trash", true, ::getuid()};
}

FreedesktopTrash FreedesktopTrash::None() {
  return {{}, false, ::getuid()};
}

std::optional<TrashFolder> FreedesktopTrash::HomeTrashFor(dev_t device) const {
  if (homeTrash_.empty()) return std::nullopt;
  // A home trash not made yet would lie on the file system of its nearest existing folder.
  std::filesystem::path probe = homeTrash_;
  struct stat info {};
  while (::stat(probe.c_str(), &info) != 0) {
    if (!probe.has_relative_path()) return std::nullopt;
    probe = probe.parent_path();
  }
  if (info.st_dev != device || !MakeFolders(homeTrash_)) return std::nullopt;
  if (::stat(homeTrash_.c_str(), &info) != 0 || info.st_dev != device) return std::nullopt;
  if (!HasTrashParts(homeTrash_, user_)) return std::nullopt;
  return TrashFolder{homeTrash_, {}};
}

std::optional<TrashFolder> FreedesktopTrash::TopDirectoryTrash(
    const std::string& topDirectory) const {
  const std::string top = topDirectory.size() > 1 && topDirectory.back() == '/'
                              ? topDirectory.substr(0, topDirectory.size() - 1)
                              : topDirectory;
  const std::string user = std::to_string(user_);
  const std::string shared = (top == "/" ? "" : top) + "/.Trash";
  struct stat info {};
  // Only a sticky folder that is no link: anyone could have planted another.
  if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
      (info.st_mode & S_ISVTX) != 0) {
    const std::string own = shared + "/" + user;
    if (MakeFolder(own) && IsOwnFolder(own, user_) && HasTrashParts(own, user_)) {
      return TrashFolder{own, top};
    }
  }
  const std::string own = (top == "/" ? "" : top) + "/.Trash-" + user;
  if (MakeFolder(own) && IsOwnFolder(own, user_) && HasTrashParts(own, user_)) {
    return TrashFolder{own, top};
  }
  return std::nullopt;
}

std::optional<TrashFolder> FreedesktopTrash::FolderFor(const std::string& folder) const {
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return std::nullopt;
  if (std::optional<TrashFolder> home = HomeTrashFor(info.st_dev)) return home;
  if (!otherMounts_) return std::nullopt;
  const std::string top = MountPointOf(folder);
  if (top.empty()) return std::nullopt;
  return TopDirectoryTrash(top);
}

FileResult FreedesktopTrash::Move(const std::string& path) const {
  const std::filesystem::path absolute = std::filesystem::absolute(path).lexically_normal();
  struct stat info {};
  if (::lstat(absolute.c_str(), &info) != 0) return Failure(errno);
  const std::optional<TrashFolder> trash = FolderFor(absolute.parent_path().string());
  if (!trash) return {FileResult::kNoTrash, 0};
  const Descriptor files(OpenFolder(trash->path + "/files"));
  const Descriptor infos(OpenFolder(trash->path + "/info"));
  if (files.get() < 0 || infos.get() < 0) return Failure(errno);

  // A trash at a mount's top names the file from there, so it still holds when the mount
  // moves; the home trash names it in full.
  std::string origin = absolute.string();
  if (!trash->topDirectory.empty()) {
    origin = absolute.lexically_relative(trash->topDirectory).string();
  }
  const std::string contents =
      "[Trash Info]\nPath=" + Escaped(origin) + "\nDeletionDate=" + DeletionDate() + "\n";
  const std::string name = absolute.filename().string();
  for (int attempt = 1; attempt <= 1000; ++attempt) {
    const std::string candidate = NameInTrash(name, attempt);
    const std::string infoName = candidate + ".trashinfo";
    // The info file claims the name: whoever creates it first owns it.
    const int fd = ::openat(infos.get(), infoName.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Failure(errno);
    }
    struct stat taken {};
    const bool free = ::fstatat(files.get(), candidate.c_str(), &taken, AT_SYMLINK_NOFOLLOW) != 0;
    const bool written = free && WriteAll(fd, contents);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!free) {
      ::unlinkat(infos.get(), infoName.c_str(), 0);
      continue;
    }
    const int error = !written  ? writeError
                      : !closed ? EIO
                                : RenameWithoutReplacing(absolute.string(), files.get(), candidate);
    if (error == 0) return {};
    ::unlinkat(infos.get(), infoName.c_str(), 0);
    return Failure(error);
  }
  return Failure(EEXIST);
}

}  // namespace rw
