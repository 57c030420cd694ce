#include "demo/plain_message.h"

#include <cstring>

#include "demo/demo_generation.h"

namespace rw {

PlainMessage::PlainMessage(const ReadSession& session, size_t start, size_t end)
    : block_(session.block), end_(end) {
  const ProtocolLayout& layout = LayoutOf(session.state.Protocol);
  pos_ = start + static_cast<size_t>(layout.messageHeaderBytes);
  snapshotTimeSkip_ = layout.snapshotTimeSkip;
}

uint8_t PlainMessage::Byte(const char* field) {
  if (pos_ >= end_) throw ParsingError{field};
  return static_cast<uint8_t>(block_[pos_++]);
}

uint16_t PlainMessage::Short(const char* field) {
  if (pos_ > end_ || end_ - pos_ < 2) throw ParsingError{field};
  const auto* bytes = reinterpret_cast<const unsigned char*>(block_.data() + pos_);
  pos_ += 2;
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t PlainMessage::Long(const char* field) {
  if (pos_ > end_ || end_ - pos_ < 4) throw ParsingError{field};
  const auto* bytes = reinterpret_cast<const unsigned char*>(block_.data() + pos_);
  pos_ += 4;
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

std::string_view PlainMessage::Text(const char* field) {
  if (pos_ >= end_) throw ParsingError{field};
  const void* nul = std::memchr(block_.data() + pos_, 0, end_ - pos_);
  if (nul == nullptr) throw ParsingError{field};
  const size_t end = static_cast<size_t>(static_cast<const char*>(nul) - block_.data());
  const std::string_view text = block_.substr(pos_, end - pos_);
  pos_ = end + 1;
  return text;
}

uint32_t PlainMessage::ServerTime(const char* field) {
  pos_ += static_cast<size_t>(snapshotTimeSkip_);
  return Long(field);
}

}  // namespace rw
