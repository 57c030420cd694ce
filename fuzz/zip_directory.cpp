// Walks the central directory of arbitrary bytes, as the folder scan and the pictures do.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/directory_reader.h"

namespace {

// The input as a file, since the reader works on paths; removed when the fuzzer exits.
struct TemporaryArchive {
  std::string path = "/tmp/fuzz_zip_directory_" + std::to_string(getpid()) + ".zip";
  ~TemporaryArchive() { std::remove(path.c_str()); }
};

const std::string& ArchivePath() {
  static const TemporaryArchive archive;
  return archive.path;
}

bool WriteArchive(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(ArchivePath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteArchive(data, size)) return 0;
  const std::string& path = ArchivePath();
  rw::ArchiveCursor cursor;
  for (int code = rw::ArchiveOpen(path, cursor); code == rw::kArchiveMember;
       code = rw::ArchiveNext(cursor)) {
  }
  rw::ArchiveClose(cursor);
  for (int code = rw::ArchiveFindFirst(path, "*\\*.dm?", cursor); code == rw::kArchiveMember;
       code = rw::ArchiveFindNext("*.dm_4?", cursor)) {
  }
  rw::ArchiveClose(cursor);
  rw::ArchiveFind(path, "DEMOS\\A.DM3", cursor);
  rw::ArchiveClose(cursor);
  rw::IsArchiveFile(path);
  return 0;
}
