#include "demo/coded_message.h"

namespace rw {

CodedMessage::CodedMessage(ReadSession& session, size_t start, size_t end)
    : code_(HuffmanCode::Get()),
      data_(reinterpret_cast<const unsigned char*>(session.block.data()) + start),
      size_(end - start),
      remaining_(static_cast<int64_t>(size_) * 8),
      text_(session.decodedText),
      commands_(session.codedCommands) {
  if (!HasMore()) return;
  Refill();
  const unsigned bits = session.ackBits;
  if (bits > 0 && remaining_ >= int64_t{bits} &&
      (buffer_ & ((uint64_t{1} << bits) - 1)) == session.ackPattern) {
    Skip(bits, "Server_cmd");
    return;
  }
  const uint64_t pattern = buffer_;
  SkipLong("Server_cmd");
  session.ackBits = static_cast<unsigned>(Position());
  session.ackPattern = pattern & ((uint64_t{1} << session.ackBits) - 1);
}

std::string_view CodedMessage::Text(const char* field) {
  // Room for a whole text and the symbols of one refill past its end.
  text_.resize(kLongestText + 8);
  char* out = text_.data();
  const char* const longest = out + kLongestText - 1;
  for (;;) {
    if (count_ < 5 * HuffmanCode::kLookupBits) Refill();
    for (int i = 0; i < 5; ++i) {
      const uint32_t symbol = Symbol(field);
      if (symbol == 0)
        return std::string_view(text_.data(), static_cast<size_t>(out - text_.data()));
      *out++ = static_cast<char>(symbol);
    }
    if (out > longest) throw ParsingError{field};
  }
}

std::string_view CodedMessage::CommandText(uint32_t number, bool wanted, const char* field) {
  ReadSession::CodedCommand& known = commands_[number % commands_.size()];
  if (!wanted && known.number == number && known.bits > 0) {
    Skip(known.bits, field);
    return {};
  }
  const size_t start = Position();
  const std::string_view text = Text(field);
  known = {number, Position() - start};
  return text;
}

void CodedMessage::Skip(size_t bits, const char* field) {
  if (static_cast<int64_t>(bits) > remaining_) throw ParsingError{field};
  remaining_ -= static_cast<int64_t>(bits);
  if (bits < count_) {
    buffer_ >>= bits;
    count_ -= static_cast<unsigned>(bits);
    return;
  }
  const size_t position = Position();
  next_ = position / 8;
  buffer_ = 0;
  count_ = 0;
  Refill();
  buffer_ >>= position % 8;
  count_ -= static_cast<unsigned>(position % 8);
}

}  // namespace rw
