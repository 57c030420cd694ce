#include "archive/archive_file.h"

#ifdef _WIN32
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rw {

namespace {

int SeekTo(std::FILE* file, uint64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::optional<uint64_t> Tell(std::FILE* file) {
#ifdef _WIN32
  const __int64 at = _ftelli64(file);
#else
  const off_t at = ftello(file);
#endif
  if (at < 0) return std::nullopt;
  return static_cast<uint64_t>(at);
}

// Only regular files, or links to them: a folder is never an archive, and opening a pipe or
// a device could wait forever.
std::FILE* OpenRegularFile(const std::string& path) {
#ifdef _WIN32
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return nullptr;
  return std::fopen(path.c_str(), "rb");
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return file;
#endif
}

}  // namespace

std::unique_ptr<ArchiveFile> ArchiveFile::Open(const std::string& path, size_t bufferSize) {
  std::FILE* file = OpenRegularFile(path);
  if (file == nullptr) return nullptr;
  if (bufferSize != 0) std::setvbuf(file, nullptr, _IOFBF, bufferSize);
  return std::unique_ptr<ArchiveFile>(new ArchiveFile(file));
}

ArchiveFile::~ArchiveFile() {
  std::fclose(file_);
}

std::optional<uint64_t> ArchiveFile::Size() {
  if (SeekTo(file_, 0, SEEK_END) != 0) return std::nullopt;
  return Tell(file_);
}

bool ArchiveFile::Seek(uint64_t offset) {
  std::clearerr(file_);
  return SeekTo(file_, offset, SEEK_SET) == 0;
}

int64_t ArchiveFile::Read(uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t got = std::fread(data, 1, size, file_);
  if (got < size && std::ferror(file_)) return -1;
  return static_cast<int64_t>(got);
}

bool ArchiveFile::ReadExactly(uint8_t* data, size_t size) {
  return Read(data, size) == static_cast<int64_t>(size);
}

}  // namespace rw
