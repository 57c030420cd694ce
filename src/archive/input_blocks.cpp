#include "archive/input_blocks.h"

#include <algorithm>

namespace rw {

InputBlocks::Block InputBlocks::ReadBlock() {
  if (last_ == Block::kFiller || last_ == Block::kEnd) {
    length_ = 0;
    at_ = 0;
    last_ = Block::kEnd;
    return last_;
  }
  if (last_ == Block::kAborted) return last_;
  pacer_.Service();
  int64_t got = 0;
  if (read_ <= uint64_t{compressedSize_} + 2) got = file_.Read(block_, kBlockSize);
  at_ = 0;
  if (got > 0) {
    read_ += static_cast<uint64_t>(got);
    length_ = static_cast<size_t>(got);
    last_ = Block::kData;
  } else {
    std::fill_n(block_, kFillerSize, uint8_t{0});
    length_ = kFillerSize;
    last_ = Block::kFiller;
  }
  if (!pacer_.Advance(read_)) {
    length_ = 0;
    last_ = Block::kAborted;
  }
  return last_;
}

int InputBlocks::NextByte() {
  if (at_ == length_) {
    const Block block = ReadBlock();
    if (block == Block::kAborted) return kAborted;
    if (block == Block::kEnd) return kEndOfInput;
  }
  if (last_ == Block::kData) ++taken_;
  return block_[at_++];
}

}  // namespace rw
