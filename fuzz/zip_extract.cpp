// Extracts the members of arbitrary bytes to memory, every method and every header field
// taken as the bytes say.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/directory_reader.h"
#include "archive/extractor.h"
#include "host/message_pump.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "temporary_input.h"

namespace {

constexpr uint32_t kMaxCapacity = 1 << 20;
constexpr int kMaxMembers = 16;

const rw::fuzz::TemporaryInput& Archive() {
  static const rw::fuzz::TemporaryInput archive("fuzz_zip_extract", ".zip");
  return archive;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!Archive().Write(data, size)) return 0;
  static rw::SteadyClock clock;
  static rw::NoMessagePump pump;
  static rw::PosixFileSystem files;
  rw::Extractor extractor(clock, pump, files);
  const std::string& path = Archive().path();

  std::vector<uint32_t> offsets = {0};
  std::vector<uint32_t> sizes = {kMaxCapacity};
  rw::ArchiveCursor cursor;
  for (int code = rw::ArchiveOpen(path, cursor);
       code == rw::kArchiveMember && offsets.size() < kMaxMembers; code = rw::ArchiveNext(cursor)) {
    offsets.push_back(cursor.localHeaderOffset);
    sizes.push_back(std::min(cursor.size, kMaxCapacity));
  }
  rw::ArchiveClose(cursor);

  std::vector<uint8_t> destination;
  for (size_t i = 0; i < offsets.size(); ++i) {
    destination.assign(sizes[i], 0);
    uint32_t written = sizes[i];
    extractor.unzipfiletomemory(path, destination.data(), written, {}, offsets[i]);
    written = 64;
    extractor.unzipfiletomemoryskip(path, destination.data(), written, {}, 44, offsets[i]);
  }
  return 0;
}
