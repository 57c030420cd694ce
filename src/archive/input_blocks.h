#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/archive_file.h"
#include "archive/decoder_io.h"
#include "archive/extraction_pacer.h"

namespace rw {

// A member's compressed data in blocks of at most 2048 bytes, read from the file's current
// position, then the end mark. Our decoders read no byte before they need it, so the data
// ends exactly where the member's does: shrink, which has no end code of its own, stops
// there, and no decoder is fed bytes that belong to the next record.
class InputBlocks : public DecoderInput {
 public:
  enum class Block { kData, kEnd, kAborted };
  static constexpr size_t kBlockSize = 2048;

  InputBlocks(ArchiveFile& file, uint32_t compressedSize, ExtractionPacer& pacer)
      : file_(file), compressedSize_(compressedSize), pacer_(pacer) {}

  // Serves window messages, then reads the next block, which replaces the current one.
  Block ReadBlock();
  const uint8_t* data() const { return block_; }
  size_t size() const { return length_; }

  int NextByte() override;
  // Bytes handed out through NextByte.
  uint64_t bytesTaken() const { return taken_; }
  // Whether the file ended before the member's compressed size was read.
  bool endedEarly() const { return endedEarly_; }

 private:
  ArchiveFile& file_;
  uint32_t compressedSize_;
  ExtractionPacer& pacer_;
  uint8_t block_[kBlockSize] = {};
  size_t length_ = 0;
  size_t at_ = 0;
  uint64_t read_ = 0;
  uint64_t taken_ = 0;
  bool endedEarly_ = false;
  Block last_ = Block::kData;
};

}  // namespace rw
