#include "demo/coded_message.h"

namespace rw {

CodedMessage::CodedMessage(ReadSession& session, size_t start, size_t end)
    : code_(HuffmanCode::Get()),
      data_(reinterpret_cast<const unsigned char*>(session.block.data()) + start),
      size_(end - start),
      endBit_(size_ * 8),
      text_(session.decodedText) {
  if (HasMore()) SkipLong("Server_cmd");
}

std::string_view CodedMessage::Text(const char* field) {
  text_.clear();
  for (uint32_t symbol = Symbol(field); symbol != 0; symbol = Symbol(field)) {
    if (text_.size() + 1 == kLongestText) throw ParsingError{field};
    text_.push_back(static_cast<char>(symbol));
  }
  return text_;
}

}  // namespace rw
