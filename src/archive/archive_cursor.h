#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/archive_file.h"

namespace rw {

// One walk over an archive's central directory. Open while buffer is set; the member fields
// keep the last member loaded, also after the cursor is closed.
struct ArchiveCursor {
  // The central directory, or a window of it; null when the cursor is closed.
  std::unique_ptr<uint8_t[]> buffer;
  // kStreamingBufferSize marks a directory streamed through the buffer.
  uint32_t bufferSize = 0;
  uint32_t position = 0;  // offset in buffer of the next central record

  uint32_t dateTime = 0;  // MS-DOS: time low 16 bits, date high 16 bits
  uint32_t size = 0;
  uint32_t compressedSize = 0;
  uint32_t localHeaderOffset = 0;
  uint32_t crc32 = 0;
  // UTF-8 (see ZipNameToUtf8) of at most kMaxNameLength stored bytes, "\\" as separator.
  std::string name;
  uint16_t method = 0;
  uint16_t attributes = 0;  // MS-DOS attribute byte for members made on MS-DOS, else 0
  uint16_t flags = 0;

  // Streaming mode only: the archive stays open, and the buffer holds this many bytes.
  std::unique_ptr<ArchiveFile> file;
  uint32_t filled = 0;

  // Holds the longest record there can be: 46 fixed bytes and three 16-bit lengths.
  static constexpr uint32_t kStreamingBufferSize = 46 + 3 * 65535;
  static constexpr size_t kMaxNameLength = 259;
};

}  // namespace rw
