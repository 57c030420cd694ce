#include "archive/input_blocks.h"

#include <algorithm>

namespace rw {

InputBlocks::Block InputBlocks::ReadBlock() {
  length_ = 0;
  at_ = 0;
  if (last_ != Block::kData) return last_;
  if (read_ >= compressedSize_) return last_ = Block::kEnd;
  pacer_.Service();
  const size_t wanted =
      static_cast<size_t>(std::min<uint64_t>(kBlockSize, compressedSize_ - read_));
  const int64_t got = file_.Read(block_, wanted);
  if (got <= 0) {
    endedEarly_ = true;
    return last_ = Block::kEnd;
  }
  read_ += static_cast<uint64_t>(got);
  length_ = static_cast<size_t>(got);
  if (!pacer_.Advance(read_)) {
    length_ = 0;
    return last_ = Block::kAborted;
  }
  return last_;
}

int InputBlocks::NextByte() {
  if (at_ == length_) {
    const Block block = ReadBlock();
    if (block == Block::kAborted) return kAborted;
    if (block == Block::kEnd) return kEndOfInput;
  }
  ++taken_;
  return block_[at_++];
}

}  // namespace rw
