// Walks the central directory of arbitrary bytes, as the folder scan and the pictures do.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/directory_reader.h"
#include "temporary_input.h"

namespace {

const rw::fuzz::TemporaryInput& Archive() {
  static const rw::fuzz::TemporaryInput archive("fuzz_zip_directory", ".zip");
  return archive;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!Archive().Write(data, size)) return 0;
  const std::string& path = Archive().path();
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
