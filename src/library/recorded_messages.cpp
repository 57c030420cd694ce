#include "library/recorded_messages.h"

namespace rw {

MessageAnswer RecordedMessages::Show(std::string_view caption, std::string_view text,
                                     MessageIcon icon, MessageButtons) {
  messages_.push_back({std::string(caption), std::string(text), icon});
  return MessageAnswer::kOk;
}

void ShowMessages(const std::vector<RecordedMessages::Message>& messages, Messages& target) {
  for (const RecordedMessages::Message& message : messages) {
    target.Show(message.caption, message.text, message.icon);
  }
}

}  // namespace rw
