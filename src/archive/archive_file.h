#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace rw {

// An archive opened read-only, with 64-bit positions on every host.
class ArchiveFile {
 public:
  // Null when the file cannot be opened. bufferSize, when not 0, replaces the system's read
  // buffer: worth it for reading on from one place, not for jumping about.
  static std::unique_ptr<ArchiveFile> Open(const std::string& path, size_t bufferSize = 0);

  ~ArchiveFile();
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  std::optional<uint64_t> Size();
  bool Seek(uint64_t offset);
  // Bytes read, fewer at the end of the file; -1 on a read error.
  int64_t Read(uint8_t* data, size_t size);
  // Reads until size bytes are in or the file ends; false on a short read or an error.
  bool ReadExactly(uint8_t* data, size_t size);

 private:
  explicit ArchiveFile(std::FILE* file) : file_(file) {}
  std::FILE* file_;
};

}  // namespace rw
