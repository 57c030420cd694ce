#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/archive_file.h"
#include "archive/decoder_io.h"
#include "archive/extraction_pacer.h"

namespace rw {

// A member's compressed data in 2048-byte blocks, read from the file's current position.
// Reading may run a little past the member (decoders look ahead); once the file ends, or
// the member is well exceeded, a short zero filler comes, then the end mark.
class InputBlocks : public DecoderInput {
 public:
  enum class Block { kData, kFiller, kEnd, kAborted };
  static constexpr size_t kBlockSize = 2048;
  static constexpr size_t kFillerSize = 2;

  InputBlocks(ArchiveFile& file, uint32_t compressedSize, ExtractionPacer& pacer)
      : file_(file), compressedSize_(compressedSize), pacer_(pacer) {}

  // Serves window messages, then reads the next block, which replaces the current one.
  Block ReadBlock();
  const uint8_t* data() const { return block_; }
  size_t size() const { return length_; }

  int NextByte() override;
  // Bytes of member data handed out through NextByte, filler excluded.
  uint64_t bytesTaken() const { return taken_; }

 private:
  ArchiveFile& file_;
  uint32_t compressedSize_;
  ExtractionPacer& pacer_;
  uint8_t block_[kBlockSize] = {};
  size_t length_ = 0;
  size_t at_ = 0;
  uint64_t read_ = 0;
  uint64_t taken_ = 0;
  Block last_ = Block::kData;
};

}  // namespace rw
